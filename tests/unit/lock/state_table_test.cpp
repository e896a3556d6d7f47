// The lock's states and transitions, with real timers on the main window.
#include "support/lock_fixture.h"
#include "features/blue_light.h"
#include "features/video_counter.h"
#include "lock/shield.h"
#include "lock/input_hooks.h"
#include <vector>

namespace {

using LockStateTest = LockFixture;
typedef std::vector<std::string> Sequence;

const Sequence NoOptions = {
    "modify balloon=\" Check settings: No locking options selected \" timeout=10000"};

Sequence Joined(Sequence first, const Sequence& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

// Timer 333's stages, called as the timer would call them; the real program's
// ten seconds are timed end to end (e2e/lock), the re-raise in cover_windows_test.
TEST_F(LockStateTest, CountdownShowsTwoBalloonsOneStageApartThenLocks) {
    Settings.DisableKeyboard = true;
    EXPECT_EQ(LockItemNow(), "&Lock Keyboard/Mouse/Touch");
    const Sequence countdown = {"modify balloon=\" 10 seconds until lock \" timeout=10000",
                                "modify balloon=\" 5 seconds \" timeout=10000"};
    StartLockCountdown();
    EXPECT_FALSE(Lock.Unlocked);
    EXPECT_EQ(LockItemNow(), "UnLock Keyboard/Mouse/Touch");
    EXPECT_EQ(RecordedTraySequence(), Sequence(countdown.begin(), countdown.begin() + 1));
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);

    AdvanceLockCountdown(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_EQ(RecordedTraySequence(), countdown);
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);

    EngageLock(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_NE(Lock.KeyboardHook(), nullptr);
    EXPECT_EQ(RecordedTraySequence(), Joined(countdown, TrayCallsOfALock));
    EXPECT_EQ(Shield.CoverWindow(), nullptr); // keyboard only: no shield
    EXPECT_EQ(LockItemNow(), "UnLock Keyboard/Mouse/Touch");
}

// Each stage leaves exactly the next one pending on timer 333.
TEST_F(LockStateTest, EachCountdownStageSetsTheNextOnTheLockTimer) {
    Settings.DisableKeyboard = true;
    StartLockCountdown();
    EXPECT_TRUE(KillTimer(MainWindow, LockTimerId));
    AdvanceLockCountdown(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_TRUE(KillTimer(MainWindow, LockTimerId));
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
    // With the stage timer gone nothing engages by itself.
    PumpMessagesFor(50);
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
}

TEST_F(LockStateTest, LockAtStartUpEngagesAtOnceWithoutCountdownBalloons) {
    Settings.DisableKeyboard = true;
    Settings.EnableTouchShield = true;
    DWORD start = GetTickCount();
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_LT(GetTickCount() - start, 3000u); // a countdown would take ten seconds
    EXPECT_EQ(RecordedTraySequence(), TrayCallsOfALock) << "no countdown balloons";
    EXPECT_NE(Lock.KeyboardHook(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Shield.CoverWindow()));
    EXPECT_FALSE(Lock.ImmediateLock);
}

struct Options {
    bool keyboard, mouse, video, shield;
};

TEST_F(LockStateTest, EngagesWhatEachCombinationOfOptionsAsksAndReleasesAllOfIt) {
    for (int mask = 0; mask < 16; mask++) {
        const Options o = {(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0};
        SCOPED_TRACE(testing::Message() << "keyboard " << o.keyboard << " mouse " << o.mouse
                                        << " video " << o.video << " shield " << o.shield);
        Settings.DisableKeyboard = o.keyboard;
        Settings.DisableMouse = o.mouse;
        Settings.EnableYouTubeCount = o.video;
        Settings.EnableTouchShield = o.shield;
        RecordedTrayCalls().clear();
        ASSERT_TRUE(EngageAtOnce());
        const bool any = o.keyboard || o.mouse || o.video || o.shield;

        EXPECT_FALSE(Lock.Unlocked);
        EXPECT_EQ(Lock.KeyboardHook() != nullptr, o.keyboard);
        EXPECT_EQ(Lock.KeyboardHookProcedureInUse(), o.keyboard ? BlockAllKeysProc : nullptr);
        EXPECT_EQ(Lock.MouseHook() != nullptr, o.mouse);
        EXPECT_EQ(Shield.CoverWindow() != nullptr, o.shield);
        EXPECT_EQ(Shield.UnlockImageWindow() != nullptr, o.shield);
        EXPECT_EQ(RecordedTraySequence(), any ? TrayCallsOfALock : NoOptions);
        EXPECT_EQ(LockItemNow(), "UnLock Keyboard/Mouse/Touch");
        const HHOOK keyboard = Lock.KeyboardHook(), mouse = Lock.MouseHook();
        const HWND cover = Shield.CoverWindow(), padlock = Shield.UnlockImageWindow();

        RecordedTrayCalls().clear();
        EXPECT_EQ(RequestUnlock(), UnlockResult::Released);
        EXPECT_TRUE(Lock.Unlocked);
        EXPECT_EQ(Lock.KeyboardHook(), nullptr);
        EXPECT_EQ(Lock.MouseHook(), nullptr);
        EXPECT_TRUE(HookGone(keyboard));
        EXPECT_TRUE(HookGone(mouse));
        EXPECT_EQ(Shield.CoverWindow(), nullptr);
        EXPECT_EQ(Shield.UnlockImageWindow(), nullptr);
        EXPECT_FALSE(cover && IsWindow(cover));
        EXPECT_FALSE(padlock && IsWindow(padlock));
        // No timer was left behind: neither the cover re-raise nor the video poll.
        EXPECT_FALSE(KillTimer(MainWindow, LockTimerId));
        EXPECT_FALSE(KillTimer(MainWindow, VideoTimerId));
        EXPECT_EQ(RecordedTraySequence(), TrayCallsOfARelease);
        EXPECT_EQ(LockItemNow(), "Lock Keyboard/Mouse/Touch");
    }
}

TEST_F(LockStateTest, VideoCountRunsItsPollOnlyWhileLocked) {
    Settings.EnableYouTubeCount = true;
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_TRUE(KillTimer(MainWindow, VideoTimerId)); // it was running
    EXPECT_FALSE(KillTimer(MainWindow, LockTimerId)); // no hook, no cover: nothing to guard
}

TEST_F(LockStateTest, ReleaseFromEveryStateLeavesNothingPending) {
    Settings.DisableKeyboard = true;
    Settings.EnableTouchShield = true;
    const std::function<void()> reach[] = {
        [] { StartLockCountdown(); }, // stage 1
        [] {                          // stage 2
            StartLockCountdown();
            AdvanceLockCountdown(MainWindow, WM_TIMER, LockTimerId, 0);
        },
        [] { EngageAtOnce(); }, // locked
        [] {                    // nothing locked
            Settings.DisableKeyboard = Settings.EnableTouchShield = false;
            EngageAtOnce();
        },
    };
    int state = 0;
    for (const auto& go : reach) {
        SCOPED_TRACE(testing::Message() << "state " << state++);
        Settings.DisableKeyboard = Settings.EnableTouchShield = true;
        go();
        EXPECT_FALSE(Lock.Unlocked);
        // A tray double-tap while not unlocked asks to unlock.
        SendMessageA(MainWindow, TrayCallbackMessage, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(Lock.Unlocked);
        EXPECT_EQ(LockItemNow(), "Lock Keyboard/Mouse/Touch");
        EXPECT_FALSE(KillTimer(MainWindow, LockTimerId)); // the countdown is gone
        EXPECT_EQ(Lock.KeyboardHook(), nullptr);
        EXPECT_EQ(Shield.CoverWindow(), nullptr);
    }
}

TEST_F(LockStateTest, NothingLockedKeepsTheUnlockedLookUntilTheNextRequest) {
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(RecordedTraySequence(), NoOptions) << "neither the padlock icon nor its tooltip";
    EXPECT_FALSE(Lock.Unlocked);
    EXPECT_EQ(LockItemNow(), "UnLock Keyboard/Mouse/Touch");
    SendMessageA(MainWindow, WM_COMMAND, IDM_LOCK, 0);
    EXPECT_TRUE(Lock.Unlocked);
    EXPECT_EQ(LockItemNow(), "Lock Keyboard/Mouse/Touch");
    EXPECT_EQ(RecordedTraySequence(), Joined(NoOptions, TrayCallsOfARelease));
}

TEST_F(LockStateTest, ItemTextChangesByCommandAndKeepsItsData) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    item.dwItemData = 0x5A5A;
    ASSERT_TRUE(SetMenuItemInfoA(Tray.Menu(), IDM_LOCK, FALSE, &item));
    StartLockCountdown();
    item.dwItemData = 0;
    GetMenuItemInfoA(Tray.Menu(), IDM_LOCK, FALSE, &item);
    EXPECT_EQ(item.dwItemData, 0x5A5Au);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(Tray.Menu(), 0), 0), (UINT)IDM_LOCK);
    RequestUnlock();
    GetMenuItemInfoA(Tray.Menu(), IDM_LOCK, FALSE, &item);
    EXPECT_EQ(item.dwItemData, 0x5A5Au);
}

// The count starts from the video window's own title, as a tick reads it,
// whatever window the tap that locked left in front.
TEST_F(LockStateTest, VideoCountStartsFromTheVideoWindow) {
    Settings.EnableYouTubeCount = true;
    Videos.VideoCount = 3;
    const std::wstring title = L"Kittens - YouTube - Browser";
    HWND browser = CreateWindowExW(0, L"STATIC", title.c_str(), WS_POPUP | WS_VISIBLE, 10, 10, 100,
                                   100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    // Below everything: the walk never looks at the very top window.
    SetWindowPos(browser, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(Videos.VideoCount, 0);
    EXPECT_EQ(Videos.LastWindowTitle, title);
    RequestUnlock();
    DestroyWindow(browser);
}

struct GammaCase {
    bool reduction;
    int mode;
    bool shield;
    bool appliedBefore; // what the display showed before the lock
    bool appliedWhileLocked;
    bool appliedAfterRelease;
};

TEST_F(LockStateTest, GammaFollowsTheBlueLightModeAcrossLockAndRelease) {
    const GammaCase cases[] = {
        {true, 3, true, false, true, false}, // "w/ Shield": reduced while locked
        {true, 3, false, true, true, false}, // no shield: untouched, but restored at release
        {true, 1, true, true, true, true},   // "Always": never restored by a release
        {true, 2, true, true, true, false},  // "Menu": restored at release
        {true, 2, true, false, false, false},
        {false, 3, true, false, false, false}, // reduction off
    };
    for (const GammaCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "reduction " << c.reduction << " mode " << c.mode
                                        << " shield " << c.shield);
        Settings.EnableBlueLightReduction = c.reduction;
        Settings.BlueMenu = c.mode;
        Settings.GreenGamma = 40;
        Settings.EnableTouchShield = c.shield;
        Settings.DisableKeyboard = true;
        if (c.appliedBefore)
            ApplyBlueLight(40);
        else
            RestoreGamma();
        ASSERT_TRUE(EngageAtOnce());
        EXPECT_EQ(BlueLightApplied, c.appliedWhileLocked);
        RequestUnlock();
        EXPECT_EQ(BlueLightApplied, c.appliedAfterRelease);
    }
    RestoreGamma();
}

TEST_F(LockStateTest, HooksArePutBackAfterPowerAndSessionEvents) {
    Settings.DisableKeyboard = true;
    Settings.DisableMouse = true;
    // Nothing to put back while unlocked or counting down.
    SendMessageA(MainWindow, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
    StartLockCountdown();
    ReinstallLockHooks();
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
    EXPECT_EQ(Lock.MouseHook(), nullptr);
    RequestUnlock();

    ASSERT_TRUE(EngageAtOnce());
    for (UINT message : {(UINT)WM_POWERBROADCAST, (UINT)WM_WTSSESSION_CHANGE}) {
        const HHOOK keyboard = Lock.KeyboardHook(), mouse = Lock.MouseHook();
        SendMessageA(MainWindow, message, 7, 0);
        EXPECT_NE(Lock.KeyboardHook(), nullptr);
        EXPECT_NE(Lock.MouseHook(), nullptr);
        EXPECT_NE(Lock.KeyboardHook(), keyboard);
        EXPECT_NE(Lock.MouseHook(), mouse);
        EXPECT_TRUE(HookGone(keyboard)); // at most one of each stays installed
        EXPECT_TRUE(HookGone(mouse));
        EXPECT_EQ(Lock.KeyboardHookProcedureInUse(), BlockAllKeysProc);
    }
}

} // namespace
