// The hidden main window as the shell and the menus reach it: the double-tap
// rule, the command table, display changes and the end of the session.
#include <gtest/gtest.h>
#include <cstring>
#include <utility>
#include "app/main_window.h"
#include "app/resource_texts.h"
#include "app/splash.h"
#include "app/startup.h"
#include "lock/lock_controller.h"
#include "lock/shield.h"
#include "res/resource.h"
#include "res/timer_ids.h"
#include "settings/settings_store.h"
#include "support/in_process_app.h"
#include "support/tray_recorder.h"
#include "support/wait.h"

namespace {

MSG Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG result = {};
    result.hwnd = window;
    result.message = message;
    result.wParam = wParam;
    result.lParam = lParam;
    return result;
}

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        window = StartInProcessApp();
        ASSERT_NE(window, nullptr);
        Settings.Prompt = false;
    }
    void TearDown() override {
        KillTimer(MainWindow, LockTimerId);
        StopInProcessApp();
    }
    HWND window = nullptr;
};

TEST_F(MainWindowTest, IsAHiddenToolWindowOfItsOwnClass) {
    char name[100] = "";
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, "MORROWBY");
    GetWindowTextA(window, name, sizeof name);
    EXPECT_STREQ(name, "Morrowby");
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_POPUP);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(FindWindowW(Texts.MainClassName, nullptr), window);
}

// A double-tap arrives as the tray callback with lParam WM_LBUTTONDBLCLK (515).
// Other messages may carry 515 too (a session notification for session 515),
// and none of them starts a countdown or releases a lock.
TEST_F(MainWindowTest, OnlyTheTrayCallbackIsADoubleTap) {
    Settings.DisableKeyboard = false;
    Settings.EnableTouchShield = true;
    for (UINT message : {(UINT)WM_WTSSESSION_CHANGE, (UINT)WM_USER + 55}) {
        SendMessageA(window, message, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(Lock.Unlocked) << message;
    }
    Lock.ImmediateLock = true;
    SendMessageA(window, TrayCallbackMessage, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([] { return Shield.UnlockImageWindow() != nullptr; }, 2000));
    // The padlock shares the main window's procedure, but not its tray.
    const HWND padlock = Shield.UnlockImageWindow();
    const std::pair<HWND, UINT> others[] = {{window, WM_WTSSESSION_CHANGE},
                                            {padlock, WM_WTSSESSION_CHANGE},
                                            {padlock, TrayCallbackMessage}};
    for (const auto& other : others) {
        SendMessageA(other.first, other.second, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        EXPECT_FALSE(Lock.Unlocked) << other.second;
    }
    SendMessageA(window, TrayCallbackMessage, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Lock.Unlocked);
}

TEST_F(MainWindowTest, LockCommandTogglesLikeTheDoubleTap) {
    SendMessageA(window, WM_COMMAND, IDM_LOCK, 0);
    EXPECT_FALSE(Lock.Unlocked);
    SendMessageA(window, WM_COMMAND, IDM_LOCK, 0);
    EXPECT_TRUE(Lock.Unlocked);
}

TEST_F(MainWindowTest, ExitDestroysTheWindowAndEndsTheLoopWithZero) {
    SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(MainWindow.Get(), nullptr);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(MainWindowTest, SessionMayEnd) {
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), TRUE);
}

// The main loop leaves the padlock's taps to its window procedure, which every
// modal loop of the program dispatches to as well.
TEST_F(MainWindowTest, PadlockTapIsTakenByItsWindowNotByTheMainLoop) {
    Settings.DisableKeyboard = false;
    Settings.EnableTouchShield = true;
    Lock.ImmediateLock = true;
    SendMessageA(window, WM_COMMAND, IDM_LOCK, 0);
    ASSERT_TRUE(WaitUntil([] { return Shield.UnlockImageWindow() != nullptr; }, 2000));

    MSG press = Message(Shield.UnlockImageWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
    EXPECT_FALSE(PreTranslateLoopMessage(&press, nullptr));
    DispatchMessageA(&press);
    EXPECT_FALSE(Lock.Unlocked);
    MSG release = Message(Shield.UnlockImageWindow(), WM_LBUTTONUP, 0, MAKELPARAM(60, 60));
    EXPECT_FALSE(PreTranslateLoopMessage(&release, nullptr));
    DispatchMessageA(&release);
    EXPECT_TRUE(Lock.Unlocked);
    EXPECT_EQ(Shield.UnlockImageWindow(), nullptr);
}

TEST_F(MainWindowTest, MessageLoopLeavesOtherMessagesAlone) {
    MSG release = Message(window, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(PreTranslateLoopMessage(&release, nullptr));
    MSG key = Message(window, WM_KEYDOWN, 'A', 0);
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    EXPECT_FALSE(PreTranslateLoopMessage(&key, table));
}

TEST_F(MainWindowTest, AltQuestionMarkIsTranslatedToAbout) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    // Alt held as the thread's key state sees it, and in the message's context bit.
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE heldAlt[256];
    memcpy(heldAlt, keys, sizeof keys);
    heldAlt[VK_MENU] = 0x80;
    SetKeyboardState(heldAlt);
    for (char character : {'?', '/'}) {
        MSG key = Message(window, WM_SYSCHAR, (WPARAM)character, (LPARAM)(1u << 29));
        EXPECT_TRUE(PreTranslateLoopMessage(&key, table)) << character;
    }
    SetKeyboardState(keys);
    CloseSplash();
}

} // namespace
