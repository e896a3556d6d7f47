// The real program's first start seen from outside: its splash, a second copy
// that only shows its own splash and leaves the first running, the eleven
// first-run values it writes, its hidden main window, commands that do
// nothing, and Exit. One start covers them all: each start sleeps through
// the nine-second splash sequence. And copies started together: one runs.
#include "res/resource.h"
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const char* const FirstRunNames[11] = {
    "EnableLockAtStartup", "EnableTouchShield", "EnableBlueLightReduction",
    "GreenGamma",          "Password",          "EnableYouTubeCount",
    "DisableKeyboard",     "DisableMouse",      "Prompt",
    "YouTubeMax",          "BlueMenu"};
const char* const FirstRunTexts[11] = {"0", "1", "0", "0", "", "0", "1", "0", "0", "1", "0"};

// Exact byte count of a value, to see that the terminator was stored.
DWORD StoredSize(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ProductSettingsKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return 0;
    DWORD size = 0;
    RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
    RegCloseKey(key);
    return size;
}

HWND FindSplashOf(DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "SplashScreen", nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

using FirstStart = ProgramTest;

TEST_F(FirstStart, SplashSecondCopyDefaultsHiddenWindowAndExit) {
    MorrowbyProcess first;
    ASSERT_TRUE(first.Start());

    // The splash: centred, 531 x 449, topmost.
    HWND splash = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (splash = FindSplashOf(first.ProcessId())) != nullptr; }, 30000));
    RECT rect, desktop;
    GetWindowRect(splash, &rect);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(rect.right - rect.left, 531);
    EXPECT_EQ(rect.bottom - rect.top, 449);
    EXPECT_EQ(rect.left, (desktop.right - desktop.left) / 2 + desktop.left - 531 / 2);
    EXPECT_EQ(rect.top, (desktop.bottom - desktop.top) / 2 + desktop.top - 449 / 2);
    EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr);

    // A second copy, while the first still sleeps through its splash sequence,
    // shows its own splash for three seconds and ends.
    MorrowbyProcess second;
    DWORD start = GetTickCount();
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(WaitUntil([&] { return FindSplashOf(second.ProcessId()) != nullptr; }, 15000));
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(30000, &code));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(code, 0u);
    EXPECT_GE(elapsed, 2900u);
    EXPECT_LT(elapsed, 12000u);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(FindMorrowbyWindow(), first.Window());

    ASSERT_TRUE(first.WaitUntilReady());
    EXPECT_EQ(FindSplashOf(first.ProcessId()), nullptr);

    // Exactly the eleven first-run values, as texts with their terminators.
    std::vector<std::string> names = ProductSettingNames();
    std::vector<std::string> expected(FirstRunNames, FirstRunNames + 11);
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, names);
    for (int i = 0; i < 11; i++) {
        SCOPED_TRACE(FirstRunNames[i]);
        std::string text;
        DWORD type = 0;
        ASSERT_TRUE(ReadProductSetting(FirstRunNames[i], &text, &type));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        EXPECT_EQ(FirstRunTexts[i], text);
        EXPECT_EQ(text.size() + 1, StoredSize(FirstRunNames[i]));
    }

    // The hidden main window.
    char text[100] = "";
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "Morrowby");
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_POPUP, (LONG)WS_POPUP);
    EXPECT_FALSE(IsWindowVisible(window));

    // Commands the window does not know go to the default procedure: nothing happens.
    first.PostCommand(4242);
    first.PostTrayMessage(WM_RBUTTONUP);
    PumpMessagesFor(500);
    EXPECT_TRUE(first.Running());
    EXPECT_FALSE(IsWindowVisible(window));

    first.PostCommand(IDM_EXIT);
    code = 99;
    ASSERT_TRUE(first.WaitForExit(30000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(FindMorrowbyWindow(), nullptr);
}

// Copies started at the same moment (a double-click repeated, the Start menu
// and sign-in together) race for the session: exactly one of them runs.
TEST_F(FirstStart, ThreeCopiesStartedTogetherLeaveOneRunning) {
    MorrowbyProcess copies[3];
    for (MorrowbyProcess& copy : copies)
        ASSERT_TRUE(copy.Start(true));
    for (MorrowbyProcess& copy : copies) // as close together as can be
        copy.Resume();
    auto ended = [&] { return !copies[0].Running() + !copies[1].Running() + !copies[2].Running(); };
    ASSERT_TRUE(WaitUntil([&] { return ended() == 2; }, 30000));
    PumpMessagesFor(1000); // time for a second main window to come
    EXPECT_EQ(ended(), 2);
    int windows = 0;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "MORROWBY", nullptr));)
        windows++;
    EXPECT_EQ(windows, 1);
}

} // namespace
