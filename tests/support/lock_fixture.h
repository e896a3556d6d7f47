// A main window and recorded tray in this process, with every locking option
// off until a test sets the ones it needs.
#pragma once
#include "support/in_process_app.h"
#include "support/tray_recorder.h"
#include "support/wait.h"
#include "app/main_window.h"
#include "lock/cover_geometry.h"
#include "lock/lock_controller.h"
#include "lock/mouse_region.h"
#include "res/resource.h"
#include "res/timer_ids.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

// The monitors the lock sees once a test has called UseMonitors.
inline std::vector<MonitorArea> FakeMonitors;
inline int ListFakeMonitors(MonitorArea* monitors, int capacity) {
    const int count = (std::min)(capacity, static_cast<int>(FakeMonitors.size()));
    std::copy(FakeMonitors.begin(), FakeMonitors.begin() + count, monitors);
    return count;
}

class LockFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(StartInProcessApp(), nullptr);
        RecordedTrayCalls().clear(); // the icon's add at start-up
        Settings.DisableKeyboard = false;
        Settings.DisableMouse = false;
        Settings.EnableTouchShield = false;
        Settings.EnableYouTubeCount = false;
        Settings.Prompt = false;
    }
    void TearDown() override {
        StopInProcessApp();
        ListMonitors = realMonitors;
    }
    void UseMonitors(const std::vector<MonitorArea>& monitors) {
        FakeMonitors = monitors;
        ListMonitors = ListFakeMonitors;
    }

  private:
    MonitorListFunction realMonitors = ListMonitors;
};

inline RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// Runs the lock-at-start-up path: both countdown stages on 1 ms timers.
inline bool EngageAtOnce() {
    Lock.ImmediateLock = true;
    StartLockCountdown();
    return WaitUntil([] { return !Lock.ImmediateLock; }, 3000);
}

inline std::string LockItemNow() {
    char text[100] = {};
    GetMenuStringA(Tray.Menu(), IDM_LOCK, text, sizeof text, MF_BYCOMMAND);
    return text;
}

// What the tray shows the shell as a lock engages, and as it is released.
const std::vector<std::string> TrayCallsOfALock = {
    "modify icon=131",
    "modify tip=\"Double-Tap icon to UnLock\"",
    "modify balloon=\" Now locked \" timeout=10000",
};
const std::vector<std::string> TrayCallsOfARelease = {
    "modify balloon=\"\" timeout=10000",
    "modify tip=\"Tap icon for menu - Double-tap to Lock\"",
    "modify icon=129",
};

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
