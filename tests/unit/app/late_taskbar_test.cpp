// At sign-in the program may start before the taskbar: the icon's add fails.
// The program stays, a lock asked for at start-up engages, and the icon comes
// with the taskbar; with no taskbar for two minutes it lets go and ends.
#include "support/in_process_app.h"
#include "support/tray_recorder.h"
#include "support/wait.h"
#include "app/app_state.h"
#include "app/startup.h"
#include "app/system_tray.h"
#include "features/blue_light.h"
#include "lock/cover_windows.h"
#include "lock/lock_controller.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>
#include <string>

namespace {

class LateTaskbarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(StartInProcessApp(FALSE), nullptr);
        Settings.DisableKeyboard = true;
        Settings.DisableMouse = true;
        Settings.EnableTouchShield = true;
        Settings.EnableBlueLightReduction = true;
        Settings.BlueMenu = 3; // the tint goes with the shield
    }
    void TearDown() override { StopInProcessApp(); }
    // The lock at start-up, as RunMorrowby starts it.
    static bool LockAtStartUp() {
        ImmediateLock = true;
        StartLockCountdown();
        return WaitUntil([] { return !ImmediateLock; }, 3000);
    }
    static void Tick() { RetryTrayIcon(MainWindow, WM_TIMER, TrayRetryTimerId, 0); }
    static std::string AddedTooltip() {
        for (const NotifyCall& call : RecordedTrayCalls())
            if (call.message == NIM_ADD)
                return call.data.szTip;
        return "(no add)";
    }
};

TEST_F(LateTaskbarTest, TheLockEngagesAndTheIconComesWithTheTaskbar) {
    ASSERT_TRUE(Tray.IconMissing());
    ASSERT_TRUE(LockAtStartUp());
    EXPECT_NE(KeyboardHook, nullptr);
    EXPECT_TRUE(IsWindowVisible(CoverWindow));
    for (int i = 0; i < 5; i++)
        Tick();
    EXPECT_TRUE(Tray.IconMissing());
    EXPECT_NE(MainWindow, nullptr);

    StartTrayRecording(false, TRUE); // the taskbar is there now
    Tick();
    EXPECT_FALSE(Tray.IconMissing());
    EXPECT_EQ(AddedTooltip(), "Double-Tap icon to UnLock"); // the icon shows the lock
    EXPECT_FALSE(KillTimer(MainWindow, TrayRetryTimerId)) << "the retries go on";
    EXPECT_FALSE(Unlocked);
}

TEST_F(LateTaskbarTest, TaskbarCreatedAddsTheIconWithoutALock) {
    StartTrayRecording(false, TRUE);
    SendMessageA(Tray.HiddenWindow(), TaskbarCreatedMessage, 0, 0);
    EXPECT_FALSE(Tray.IconMissing());
    EXPECT_EQ(AddedTooltip(), "Tap icon for menu - Double-tap to Lock");
    Tick();
    EXPECT_FALSE(KillTimer(MainWindow, TrayRetryTimerId));
    EXPECT_TRUE(Unlocked);
}

TEST_F(LateTaskbarTest, WithoutATaskbarForTwoMinutesEverythingIsReleasedAndTheProgramEnds) {
    ASSERT_TRUE(LockAtStartUp());
    ASSERT_TRUE(BlueLightApplied);
    for (int i = 0; i < 50; i++) // 100 s: still waiting
        Tick();
    ASSERT_NE(MainWindow, nullptr);
    EXPECT_FALSE(Unlocked);
    int ticks = 50;
    while (MainWindow && ticks < 61) {
        Tick();
        ticks++;
    }
    EXPECT_EQ(MainWindow, nullptr) << "still running after " << ticks * 2 << " s";
    EXPECT_TRUE(Unlocked);
    EXPECT_EQ(KeyboardHook, nullptr);
    EXPECT_EQ(MouseHook, nullptr);
    EXPECT_EQ(CoverWindow, nullptr);
    EXPECT_FALSE(BlueLightApplied);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

} // namespace
