// A main window and recorded tray in this process, with every locking option
// off until a test sets the ones it needs.
#pragma once
#include "support/in_process_app.h"
#include "support/tray_recorder.h"
#include "support/wait.h"
#include "app/app_state.h"
#include "app/system_tray.h"
#include "lock/lock_controller.h"
#include "res/resource.h"
#include "settings/settings_controller.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>
#include <string>

class LockFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(StartInProcessApp(), nullptr);
        Settings.DisableKeyboard = false;
        Settings.DisableMouse = false;
        Settings.EnableTouchShield = false;
        Settings.EnableYouTubeCount = false;
        Settings.Prompt = false;
        ImmediateLock = false;
        savedCornerX = PointerCornerX;
        savedCornerY = PointerCornerY;
    }
    void TearDown() override {
        StopInProcessApp();
        PointerCornerX = savedCornerX;
        PointerCornerY = savedCornerY;
    }
    int savedCornerX = 0, savedCornerY = 0;
};

// Runs the lock-at-start-up path: both countdown stages on 1 ms timers.
inline bool EngageAtOnce() {
    ImmediateLock = true;
    StartLockCountdown();
    return WaitUntil([] { return !ImmediateLock; }, 3000);
}

inline std::string LockItemNow() {
    char text[100] = {};
    GetMenuStringA(Tray.Menu(), IDM_LOCK, text, sizeof text, MF_BYCOMMAND);
    return text;
}

// The last tooltip and icon the tray sent to the shell after the icon was added.
inline std::string LastTooltip() {
    std::string tip;
    for (const NotifyCall& call : RecordedTrayCalls())
        if (call.message == NIM_MODIFY && (call.data.uFlags & NIF_TIP))
            tip = call.data.szTip;
    return tip;
}

inline HICON LastIcon() {
    HICON icon = nullptr;
    for (const NotifyCall& call : RecordedTrayCalls())
        if (call.message == NIM_MODIFY && (call.data.uFlags & NIF_ICON))
            icon = call.data.hIcon;
    return icon;
}

inline BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

inline int CountThisThreadsWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// True when the handle no longer names an installed hook.
inline bool HookGone(HHOOK hook) {
    return hook == nullptr || !UnhookWindowsHookEx(hook);
}
