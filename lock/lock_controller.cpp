// The lock state machine: a two-stage countdown on timer 333, the engaged lock
// (hooks, video counter, touch shield) and the release, all on the one
// user-interface thread.
#include "lock_controller.h"
#include "accessibility_shortcuts.h"
#include "input_hooks.h"
#include "mouse_region.h"
#include "shield.h"
#include "typed_word.h"
#include "unlock_prompt.h"
#include "viewing_limit_run.h"
#include "../features/blue_light.h"
#include "../features/blue_light_policy.h"
#include "../features/video_counter.h"
#include "../res/resource.h"
#include "../res/timer_ids.h"
#include "../settings/limits_store.h"
#include "../settings/settings_store.h"
#include "../win/string_table.h"
#include "../win/system_tray.h"

static void ShowBalloon(const std::wstring& text);
static void MakeCoversOpaque();
static void DarkenEveryMonitor();
static void ApplyBlueLightPolicy(BlueLightEvent event);
static void ListenForTypedWord(HOOKPROC keyboardProcedure);
static void PutUpCovers(bool raisePrompt);

static const UINT CountdownStageDelay = 5000;
static const UINT ImmediateStageDelay = 1;
static const UINT LockGuardInterval = 5000;
static const UINT VideoPollInterval = 2000;

void AttachLock(const LockHost& host) {
    Lock.Host = host;
    PointerRegion.KeepTrayInReach(host.Tray);
    SetVideoLimitAction(MakeCoversOpaque);
}

void StartLockCountdown() {
    const LockHost& host = Lock.Host;
    ResetVideoCount();
    host.Tray->SetMenuItemText(IDM_LOCK, host.UnlockItemText);
    Lock.Unlocked = false;
    DrawMenuBar(host.Window);
    if (Lock.ImmediateLock) {
        SetTimer(host.Window, LockTimerId, ImmediateStageDelay, AdvanceLockCountdown);
    } else {
        SetTimer(host.Window, LockTimerId, CountdownStageDelay, AdvanceLockCountdown);
        ShowBalloon(LoadText(IDS_BALLOON_TEN_SECONDS));
    }
}

void CALLBACK AdvanceLockCountdown(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(Lock.Host.Window, LockTimerId);
    UINT delay = ImmediateStageDelay;
    if (!Lock.ImmediateLock) {
        ShowBalloon(LoadText(IDS_BALLOON_FIVE_SECONDS));
        delay = CountdownStageDelay;
    }
    SetTimer(Lock.Host.Window, LockTimerId, delay, EngageLock);
}

LockEngagement DecideLockEngagement(const SettingsRecord& settings, bool promptOpen,
                                    bool timeLimit) {
    LockEngagement engage = {};
    // The parent may have asked to unlock during the countdown: the word
    // prompt is then open and needs the keys a word is typed with.
    if (settings.DisableKeyboard)
        engage.keyboardProcedure = promptOpen ? UnlockWordKeyFilterProc : BlockAllKeysProc;
    engage.holdMouse = settings.DisableMouse;
    engage.countVideos = settings.EnableYouTubeCount;
    engage.timeLimit = timeLimit;
    engage.touchShield = settings.EnableTouchShield;
    engage.noOptions = !settings.DisableKeyboard && !engage.holdMouse && !engage.countVideos &&
                       !engage.timeLimit && !engage.touchShield;
    // The new cover comes up over an open prompt, which must go back on top.
    engage.raisePrompt = engage.touchShield && promptOpen;
    // A video count alone has nothing for the watchdog to keep.
    engage.guard = engage.keyboardProcedure || engage.holdMouse || engage.touchShield;
    return engage;
}

void CALLBACK EngageLock(HWND, UINT, UINT_PTR, DWORD) {
    const LockHost& host = Lock.Host;
    KillTimer(host.Window, LockTimerId);
    // Read now, not at the countdown: the clock starts with the lock.
    const ViewingLimits limits = LoadViewingLimits();
    const LockEngagement engage =
        DecideLockEngagement(Settings, UnlockDialogOpen(), limits.ViewingMinutes > 0);
    if (engage.keyboardProcedure) {
        Lock.HoldKeyboard(engage.keyboardProcedure);
        ListenForTypedWord(engage.keyboardProcedure);
        SuspendAccessibilityShortcuts();
    }
    if (engage.holdMouse) {
        PointerRegion.Refresh(Shield.Layout());
        Lock.HoldMouse();
    }
    if (engage.countVideos) {
        SeedLastWindowTitle();
        if (!engage.timeLimit)
            SetTimer(host.Window, VideoTimerId, VideoPollInterval, CountVideosTick);
    }
    if (engage.timeLimit)
        StartViewingLimit(limits, engage.countVideos);

    if (engage.noOptions) {
        ShowBalloon(LoadText(IDS_BALLOON_NO_OPTIONS));
    } else {
        host.Tray->SetTrayIcon(IDI_LOCKED);
        ShowLockedTooltip();
        ShowBalloon(LockedBalloonText(LoadText(IDS_BALLOON_LOCKED)));
    }
    if (engage.touchShield) {
        ApplyBlueLightPolicy(BlueLightEvent::ShieldUp);
        PutUpCovers(engage.raisePrompt);
    }
    if (engage.guard)
        SetTimer(host.Window, LockTimerId, LockGuardInterval, GuardLock);
    Lock.ImmediateLock = false;
}

UnlockResult RequestUnlock() {
    // A request made from inside another one (a tray double-tap dispatched by
    // the prompt's or the message box's own loop) is refused: the open prompt
    // answers for both, and the keyboard hook stays as the first request set it.
    if (Lock.UnlockRequestRunning || UnlockPrompt.UnlockPromptOpen) {
        BringUnlockDialogToFront();
        return UnlockResult::Refused;
    }
    if (!Settings.Prompt) {
        ReleaseLock();
        return UnlockResult::Released;
    }
    Lock.UnlockRequestRunning = true;
    // Whatever keyboard hook holds the keys now (also one left from a lock
    // whose settings changed since) must give way, or the word can't be typed.
    if (Lock.KeyboardHeld()) {
        Lock.ExchangeKeyboardHook(UnlockWordKeyFilterProc);
        ListenForTypedWord(UnlockWordKeyFilterProc);
        // Ctrl, Alt or Win let go while the lock swallowed it is still down
        // for the system and would turn the letters typed into shortcuts.
        ReleaseKeysHeldDown(HeldKeys::Modifiers);
    }
    const UnlockWord answer = PromptForUnlockWord(Lock.Host.Window);
    Lock.UnlockRequestRunning = false;
    if (answer == UnlockWord::Accepted) {
        ReleaseLock();
        return UnlockResult::Released;
    }
    if (Lock.KeyboardHeld()) {
        Lock.ExchangeKeyboardHook(BlockAllKeysProc);
        ListenForTypedWord(BlockAllKeysProc);
    }
    return UnlockResult::Refused;
}

void ReleaseLock() {
    const LockHost& host = Lock.Host;
    Lock.ImmediateLock = false;
    host.Tray->SetMenuItemText(IDM_LOCK, host.LockItemText);
    Lock.Unlocked = true;
    Lock.LetGo();
    RestoreAccessibilityShortcuts();
    Shield.DestroyCoverWindows();
    KillTimer(host.Window, LockTimerId);
    KillTimer(host.Window, VideoTimerId);
    KillTimer(host.Window, TypedWordTimerId);
    StopViewingLimit();
    ShowBalloon(std::wstring()); // takes a balloon still showing away
    host.Tray->SetTrayTooltip(host.LockTipText);
    host.Tray->SetTrayIcon(IDI_MORROWBY);
    DrawMenuBar(host.Window);
    ApplyBlueLightPolicy(BlueLightEvent::Unlock);
}

void CALLBACK ReleaseLockOnTypedWord(HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, TypedWordTimerId);
    // A request that started meanwhile answers with its own prompt.
    if (Lock.Unlocked || Lock.UnlockRequestRunning || UnlockPrompt.UnlockPromptOpen)
        return;
    ReleaseLock();
}

void ReinstallLockHooks() {
    if (Lock.Unlocked)
        return;
    // Windows says nothing when it drops a hook, so each held hook is put in
    // again; the keyboard keeps its procedure (the word filter while the
    // prompt is open).
    Lock.ReinstallHooks();
}

void CALLBACK GuardLock(HWND window, UINT message, UINT_PTR id, DWORD time) {
    ReinstallLockHooks();
    if (TypedWord.Listening())
        TypedWord.FollowLayout();
    // The icon may have moved (the taskbar moved or re-created, icons
    // added or hidden): the region is derived anew from where it is now.
    if (Lock.MouseHeld())
        PointerRegion.Refresh(Shield.Layout());
    ReassertCover(window, message, id, time);
}

// Only the blocking hook listens for the unlock word: with the word filter
// in, the prompt is open and takes the word itself.
static void ListenForTypedWord(HOOKPROC keyboardProcedure) {
    if (keyboardProcedure == BlockAllKeysProc)
        TypedWord.Listen(Settings, Lock.Host.Window, ReleaseLockOnTypedWord);
    else
        TypedWord.StopListening();
}

static void ShowBalloon(const std::wstring& text) {
    Lock.Host.Tray->ShowTrayBalloon(text.c_str(), nullptr, 0, 10);
}

// The new covers take the foreground; raisePrompt: an open unlock word prompt
// or its box goes back on top of them.
static void PutUpCovers(bool raisePrompt) {
    Shield.CreateCoverWindows(Lock.Host.Window, Lock.Host.Instance);
    if (raisePrompt)
        BringUnlockDialogToFront();
}

// The video limit's action. With a viewing-time limit, whichever limit comes
// first darkens every monitor, shield or not; the video count alone turns
// only the shield's covers opaque.
static void MakeCoversOpaque() {
    if (ViewingLimitRunning())
        DarkenEveryMonitor();
    else
        Shield.MakeCoversOpaque();
}

// A lock without the touch shield gets its covers now. They hide the taskbar,
// and with it the tray icon, so they come with the padlock: the parent's way
// out stays on the screen.
static void DarkenEveryMonitor() {
    const LockHost& host = Lock.Host;
    if (!Shield.CoverWindow()) {
        PutUpCovers(UnlockDialogOpen());
        SetTimer(host.Window, LockTimerId, LockGuardInterval, GuardLock);
    }
    Shield.MakeCoversOpaque();
}

// The lock's events touch only the ramp, never the tray menu's item.
static void ApplyBlueLightPolicy(BlueLightEvent event) {
    const BlueLightDecision decision = DecideBlueLight(event, Settings, BlueLightApplied, false);
    CarryOutRampAction(decision.Ramp, Settings.GreenGamma);
}
