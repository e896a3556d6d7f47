// The real program seen from outside: its hidden main window, commands that
// do nothing, and Exit.
#include <gtest/gtest.h>
#include "res/resource.h"
#include "support/morrowby_process.h"
#include "support/product_settings.h"

namespace {

TEST(Program, RunsWithAHiddenMainWindowAndExitsWithZero) {
    KillAllMorrowby();
    WriteProductSettings({});
    MorrowbyProcess program;
    ASSERT_TRUE(program.Start());
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);

    char text[100] = "";
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "Morrowby");
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_POPUP, (LONG)WS_POPUP);
    ASSERT_TRUE(program.WaitUntilReady());
    EXPECT_FALSE(IsWindowVisible(window));

    // Commands the window does not know go to the default procedure: nothing happens.
    program.PostCommand(4242);
    program.PostTrayMessage(WM_RBUTTONUP);
    Sleep(500);
    EXPECT_TRUE(program.Running());
    EXPECT_FALSE(IsWindowVisible(window));

    program.PostCommand(IDM_EXIT);
    DWORD code = 99;
    ASSERT_TRUE(program.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(FindMorrowbyWindow(), nullptr);
}

} // namespace
