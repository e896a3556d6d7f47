// Many lock and release cycles leave no windows, hooks, timers or memory behind.
#include "support/lock_fixture.h"
#include "support/process_memory.h"
#include "lock/shield.h"
#include "lock/viewing_limit_run.h"
#include "settings/limits_store.h"
#include <vector>

namespace {

using LockLeakTest = LockFixture;

TEST_F(LockLeakTest, TwoHundredCyclesLeaveNothingBehind) {
    Settings.DisableKeyboard = true;
    Settings.DisableMouse = true;
    Settings.EnableYouTubeCount = true;
    Settings.EnableTouchShield = true;
    ViewingLimits limits;
    limits.ViewingMinutes = 1; // the moon from the first tick
    SaveViewingLimits(limits);
    auto cycle = [](std::vector<HHOOK>* hooks) {
        RecordedTrayCalls().clear();
        StartLockCountdown();
        EngageLock(MainWindow, WM_TIMER, LockTimerId, 0);
        ViewingLimitTick(MainWindow, WM_TIMER, ViewingLimitTimerId, 0);
        PumpMessagesFor(0); // let the padlock paint
        hooks->push_back(Lock.KeyboardHook());
        hooks->push_back(Lock.MouseHook());
        RequestUnlock();
    };
    std::vector<HHOOK> hooks;
    hooks.reserve(1000);
    for (int i = 0; i < 20; i++) // let caches and the heap settle first
        cycle(&hooks);
    const int windows = CountThisThreadsWindows();
    const SIZE_T bytes = PrivateBytes(GetCurrentProcess());
    // A leak of about 2.5 KB a cycle shows; windows, hooks and timers are counted exactly.
    for (int i = 0; i < 200; i++)
        cycle(&hooks);
    EXPECT_EQ(CountThisThreadsWindows(), windows);
    EXPECT_LT(PrivateBytes(GetCurrentProcess()), bytes + 512 * 1024)
        << "private bytes grew from " << bytes;
    EXPECT_FALSE(Shield.UnlockBitmapLoaded());
    EXPECT_FALSE(KillTimer(MainWindow, LockTimerId));
    EXPECT_FALSE(KillTimer(MainWindow, VideoTimerId));
    EXPECT_FALSE(KillTimer(MainWindow, ViewingLimitTimerId));
    int live = 0;
    for (HHOOK hook : hooks)
        live += hook && !HookGone(hook);
    EXPECT_EQ(live, 0);
    for (HHOOK hook : hooks)
        EXPECT_NE(hook, nullptr);
}

BOOL WINAPI AnswerLikeTheShell(DWORD, PNOTIFYICONDATAW) {
    return TRUE;
}

// Every lock and release change the tray icon. Under Wine each icon loaded
// from the resources keeps some heap after it is destroyed, a few hundred
// bytes a cycle that only many cycles show.
TEST_F(LockLeakTest, TrayIconChangesOfAThousandLocksKeepNoMemory) {
    Settings.EnableYouTubeCount = true; // a lock with no windows and no hooks
    // Recording the calls would double the time; tear-down puts the real
    // shell back.
    Shell.ShellNotifyIcon = AnswerLikeTheShell;
    auto cycle = [] {
        StartLockCountdown();
        EngageLock(MainWindow, WM_TIMER, LockTimerId, 0);
        RequestUnlock();
    };
    for (int i = 0; i < 20; i++)
        cycle();
    const SIZE_T bytes = PrivateBytes(GetCurrentProcess());
    for (int i = 0; i < 1000; i++)
        cycle();
    EXPECT_LT(PrivateBytes(GetCurrentProcess()), bytes + 64 * 1024)
        << "private bytes grew from " << bytes;
}

} // namespace
