// The lock's states and transitions, with real timers on the main window.
#include "support/lock_fixture.h"
#include "features/blue_light.h"
#include "features/video_counter.h"
#include "lock/cover_windows.h"
#include "lock/input_hooks.h"
#include <vector>

namespace {

using LockStateTest = LockFixture;

const char* const LockedBalloon = " Now locked ";
const char* const NoOptionsBalloon = " Check settings: No locking options selected ";

// Timer 333's stages, called as the timer would call them; the real program's
// ten seconds are timed end to end (e2e/lock), the re-raise in cover_windows_test.
TEST_F(LockStateTest, CountdownShowsTwoBalloonsOneStageApartThenLocks) {
    Settings.DisableKeyboard = true;
    EXPECT_EQ(LockItemNow(), "&Lock Keyboard/Mouse/Touch");
    StartLockCountdown();
    EXPECT_FALSE(Unlocked);
    EXPECT_EQ(LockItemNow(), "UnLock Keyboard/Mouse/Touch");
    EXPECT_EQ(RecordedBalloons(), std::vector<std::string>{" 10 seconds until lock "});
    EXPECT_EQ(KeyboardHook, nullptr);

    AdvanceLockCountdown(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_EQ(RecordedBalloons().size(), 2u);
    EXPECT_EQ(RecordedBalloons().back(), " 5 seconds ");
    EXPECT_EQ(KeyboardHook, nullptr);

    EngageLock(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_NE(KeyboardHook, nullptr);
    EXPECT_EQ(RecordedBalloons().back(), LockedBalloon);
    EXPECT_EQ(LastTooltip(), "Double-Tap icon to UnLock");
    EXPECT_NE(LastIcon(), nullptr);
    EXPECT_EQ(CoverWindow, nullptr); // keyboard only: no shield
    EXPECT_EQ(LockItemNow(), "UnLock Keyboard/Mouse/Touch");
}

// Each stage leaves exactly the next one pending on timer 333.
TEST_F(LockStateTest, EachCountdownStageSetsTheNextOnTheLockTimer) {
    Settings.DisableKeyboard = true;
    StartLockCountdown();
    EXPECT_TRUE(KillTimer(MainWindow, LockTimerId));
    AdvanceLockCountdown(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_TRUE(KillTimer(MainWindow, LockTimerId));
    EXPECT_EQ(KeyboardHook, nullptr);
    // With the stage timer gone nothing engages by itself.
    PumpMessagesFor(50);
    EXPECT_EQ(KeyboardHook, nullptr);
}

TEST_F(LockStateTest, LockAtStartUpEngagesAtOnceWithoutCountdownBalloons) {
    Settings.DisableKeyboard = true;
    Settings.EnableTouchShield = true;
    DWORD start = GetTickCount();
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_LT(GetTickCount() - start, 3000u); // a countdown would take ten seconds
    EXPECT_EQ(RecordedBalloons(), std::vector<std::string>{LockedBalloon});
    EXPECT_NE(KeyboardHook, nullptr);
    EXPECT_TRUE(IsWindowVisible(CoverWindow));
    EXPECT_FALSE(ImmediateLock);
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

        EXPECT_FALSE(Unlocked);
        EXPECT_EQ(KeyboardHook != nullptr, o.keyboard);
        EXPECT_EQ(KeyboardHookProcedureInUse(), o.keyboard ? BlockAllKeysProc : nullptr);
        EXPECT_EQ(MouseHook != nullptr, o.mouse);
        EXPECT_EQ(CoverWindow != nullptr, o.shield);
        EXPECT_EQ(UnlockImageWindow != nullptr, o.shield);
        EXPECT_EQ(RecordedBalloons(),
                  std::vector<std::string>{any ? LockedBalloon : NoOptionsBalloon});
        EXPECT_EQ(LastTooltip(), any ? "Double-Tap icon to UnLock" : "");
        EXPECT_EQ(LastIcon() != nullptr, any);
        EXPECT_EQ(LockItemNow(), "UnLock Keyboard/Mouse/Touch");
        const HICON lockedIcon = LastIcon();
        const HHOOK keyboard = KeyboardHook, mouse = MouseHook;
        const HWND cover = CoverWindow, padlock = UnlockImageWindow;

        RecordedTrayCalls().clear();
        EXPECT_EQ(RequestUnlock(), 0);
        EXPECT_TRUE(Unlocked);
        EXPECT_EQ(KeyboardHook, nullptr);
        EXPECT_EQ(MouseHook, nullptr);
        EXPECT_TRUE(HookGone(keyboard));
        EXPECT_TRUE(HookGone(mouse));
        EXPECT_EQ(CoverWindow, nullptr);
        EXPECT_EQ(UnlockImageWindow, nullptr);
        EXPECT_FALSE(cover && IsWindow(cover));
        EXPECT_FALSE(padlock && IsWindow(padlock));
        // No timer was left behind: neither the cover re-raise nor the video poll.
        EXPECT_FALSE(KillTimer(MainWindow, LockTimerId));
        EXPECT_FALSE(KillTimer(MainWindow, VideoTimerId));
        EXPECT_EQ(RecordedBalloons(), std::vector<std::string>{""});
        EXPECT_EQ(LastTooltip(), "Tap icon for menu - Double-tap to Lock");
        EXPECT_NE(LastIcon(), nullptr);
        if (any) {
            EXPECT_NE(LastIcon(), lockedIcon);
        }
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
        EXPECT_FALSE(Unlocked);
        // A tray double-tap while not unlocked asks to unlock.
        SendMessageA(MainWindow, TrayCallbackMessage, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(Unlocked);
        EXPECT_EQ(LockItemNow(), "Lock Keyboard/Mouse/Touch");
        EXPECT_FALSE(KillTimer(MainWindow, LockTimerId)); // the countdown is gone
        EXPECT_EQ(KeyboardHook, nullptr);
        EXPECT_EQ(CoverWindow, nullptr);
    }
}

TEST_F(LockStateTest, NothingLockedKeepsTheUnlockedLookUntilTheNextRequest) {
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(RecordedBalloons(), std::vector<std::string>{NoOptionsBalloon});
    EXPECT_FALSE(Unlocked);
    EXPECT_EQ(LastIcon(), nullptr);
    EXPECT_EQ(LastTooltip(), "");
    EXPECT_EQ(LockItemNow(), "UnLock Keyboard/Mouse/Touch");
    SendMessageA(MainWindow, WM_COMMAND, IDM_LOCK, 0);
    EXPECT_TRUE(Unlocked);
    EXPECT_EQ(LockItemNow(), "Lock Keyboard/Mouse/Touch");
    EXPECT_EQ(LastTooltip(), "Tap icon for menu - Double-tap to Lock");
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

TEST_F(LockStateTest, VideoCountStartsFromTheWindowInFront) {
    Settings.EnableYouTubeCount = true;
    VideoCount = 3;
    const std::string title = "Kittens - YouTube - Browser";
    HWND browser = CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP | WS_VISIBLE, 10, 10, 100,
                                   100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(browser);
    ASSERT_EQ(GetForegroundWindow(), browser);
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(VideoCount, 0);
    EXPECT_EQ(std::string(LastWindowTitle), title);
    RequestUnlock();

    // A longer title is cut at 499 characters.
    const std::string longTitle(700, 'x');
    SetWindowTextA(browser, longTitle.c_str());
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(std::string(LastWindowTitle), longTitle.substr(0, 499));
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

TEST_F(LockStateTest, KnowsThisSystemAsALevelWithEdgeGestures) {
    // The test prefix reports Windows 10.
    EXPECT_EQ(GetOsVersionLevel(), 10);
}

TEST_F(LockStateTest, HooksArePutBackAfterPowerAndSessionEvents) {
    Settings.DisableKeyboard = true;
    Settings.DisableMouse = true;
    // Nothing to put back while unlocked or counting down.
    SendMessageA(MainWindow, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(KeyboardHook, nullptr);
    StartLockCountdown();
    ReinstallLockHooks();
    EXPECT_EQ(KeyboardHook, nullptr);
    EXPECT_EQ(MouseHook, nullptr);
    RequestUnlock();

    ASSERT_TRUE(EngageAtOnce());
    for (UINT message : {(UINT)WM_POWERBROADCAST, (UINT)WM_WTSSESSION_CHANGE}) {
        const HHOOK keyboard = KeyboardHook, mouse = MouseHook;
        SendMessageA(MainWindow, message, 7, 0);
        EXPECT_NE(KeyboardHook, nullptr);
        EXPECT_NE(MouseHook, nullptr);
        EXPECT_NE(KeyboardHook, keyboard);
        EXPECT_NE(MouseHook, mouse);
        EXPECT_TRUE(HookGone(keyboard)); // at most one of each stays installed
        EXPECT_TRUE(HookGone(mouse));
        EXPECT_EQ(KeyboardHookProcedureInUse(), BlockAllKeysProc);
    }
}

} // namespace
