// The real program's splash at start-up, and a second copy that only shows its
// splash and leaves the first one running.
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/wait.h"
#include <gtest/gtest.h>

static HWND FindSplashOf(DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "SplashScreen", nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

class SplashStartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        KillAllMorrowby();
        DeleteProductSettings(); // first-run settings: no lock at start-up
    }
    void TearDown() override { KillAllMorrowby(); }
};

TEST_F(SplashStartupTest, SplashShowsCentredAndASecondCopyOnlyShowsItsOwn) {
    MorrowbyProcess first;
    ASSERT_TRUE(first.Start());
    HWND splash = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (splash = FindSplashOf(first.ProcessId())) != nullptr; }, 15000));
    RECT rect, desktop;
    GetWindowRect(splash, &rect);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(rect.right - rect.left, 531);
    EXPECT_EQ(rect.bottom - rect.top, 449);
    EXPECT_EQ(rect.left, (desktop.right - desktop.left) / 2 + desktop.left - 531 / 2);
    EXPECT_EQ(rect.top, (desktop.bottom - desktop.top) / 2 + desktop.top - 449 / 2);
    EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ASSERT_TRUE(first.WaitForMainWindow());

    // While the first copy still sleeps through its splash sequence.
    MorrowbyProcess second;
    DWORD start = GetTickCount();
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(WaitUntil([&] { return FindSplashOf(second.ProcessId()) != nullptr; }, 8000));
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(15000, &code));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(code, 0u);
    EXPECT_GE(elapsed, 2900u);
    EXPECT_LT(elapsed, 10000u);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(FindMorrowbyWindow(), first.Window());

    ASSERT_TRUE(first.WaitUntilReady());
    EXPECT_EQ(FindSplashOf(first.ProcessId()), nullptr);
    first.PostCommand(105); // Exit
    code = 99;
    ASSERT_TRUE(first.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}
