// The lock state machine: a two-stage countdown on timer 333, the engaged lock
// (hooks, video counter, touch shield) and the release, all on the one
// user-interface thread.
#include "lock_controller.h"
#include "accessibility_shortcuts.h"
#include "cover_windows.h"
#include "input_hooks.h"
#include "../app/app_state.h"
#include "../app/com_reference.h"
#include "../app/os_version.h"
#include "../app/system_tray.h"
#include "../features/blue_light.h"
#include "../features/video_counter.h"
#include "../res/resource.h"
#include "../settings/settings_controller.h"
#include "../settings/settings_store.h"
#include "../settings/unlock_prompt.h"
#include <propsys.h>
#include <shellapi.h>
#include <shobjidl.h>
#include <cstring>

static void ShowBalloon(const char* text);
static void DiscardPendingKeyboardMessages();
static void ExchangeKeyboardHook(HOOKPROC procedure);
static void ReplaceHook(HHOOK* hook, int type, HOOKPROC procedure);
static void RemoveHook(HHOOK* hook);
static void RefreshTrayIconRect();

static HHOOK WINAPI CallSetWindowsHookEx(int type, HOOKPROC procedure, HINSTANCE module,
                                         DWORD thread) {
    return SetWindowsHookExA(type, procedure, module, thread);
}
// Constant initialisation: valid before any constructor runs.
InstallHookFunction InstallHook = CallSetWindowsHookEx;

bool Unlocked = true;
bool ImmediateLock = false;
HHOOK KeyboardHook = nullptr;
HHOOK MouseHook = nullptr;

// Which procedure KeyboardHook runs, so that a re-installation keeps it.
static HOOKPROC KeyboardHookProcedure = nullptr;
// True from the engagement of a lock that holds the keyboard (or the mouse)
// until its release, whether or not the hook is in right now: the watchdog
// puts back a hook that Windows dropped or that failed to go in.
static bool KeyboardHeld = false;
static bool MouseHeld = false;
// True while RequestUnlock runs: its prompt and message box pump messages, and
// a tray double-tap dispatched there must not start a second request.
static bool UnlockRequestRunning = false;

// Older SDK headers lack the edge-gesture property key.
static const PROPERTYKEY EdgeGestureDisableTouchWhenFullscreen = {
    {0x32CE38B2, 0x2C9A, 0x41B1, {0x9B, 0xC5, 0xB3, 0x78, 0x43, 0x94, 0xAA, 0x44}}, 2};
static const IID PropertyStoreInterface = {
    0x886D8EEB, 0x8CF2, 0x4446, {0x8D, 0x02, 0xCD, 0xBA, 0x1D, 0xBD, 0xCF, 0x99}};

static const UINT CountdownStageDelay = 5000;
static const UINT ImmediateStageDelay = 1;
static const UINT LockGuardInterval = 5000;
static const UINT VideoPollInterval = 2000;
static const int LastWindowTitleRead = 500;

void StartLockCountdown() {
    VideoCount = 0;
    Tray.SetMenuItemText(IDM_LOCK, UnlockItemText);
    Unlocked = false;
    DrawMenuBar(MainWindow);
    if (ImmediateLock) {
        SetTimer(MainWindow, LockTimerId, ImmediateStageDelay, AdvanceLockCountdown);
    } else {
        SetTimer(MainWindow, LockTimerId, CountdownStageDelay, AdvanceLockCountdown);
        ShowBalloon(" 10 seconds until lock ");
    }
}

void CALLBACK AdvanceLockCountdown(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(MainWindow, LockTimerId);
    UINT delay = ImmediateStageDelay;
    if (!ImmediateLock) {
        ShowBalloon(" 5 seconds ");
        delay = CountdownStageDelay;
    }
    SetTimer(MainWindow, LockTimerId, delay, EngageLock);
}

LockEngagement DecideLockEngagement(const SettingsRecord& settings, bool promptOpen) {
    LockEngagement engage = {};
    // The parent may have asked to unlock during the countdown: the word
    // prompt is then open and needs the keys a word is typed with.
    if (settings.DisableKeyboard)
        engage.keyboardProcedure = promptOpen ? UnlockWordKeyFilterProc : BlockAllKeysProc;
    engage.holdMouse = settings.DisableMouse;
    engage.countVideos = settings.EnableYouTubeCount;
    engage.touchShield = settings.EnableTouchShield;
    engage.noOptions = !settings.DisableKeyboard && !engage.holdMouse && !engage.countVideos &&
                       !engage.touchShield;
    engage.blueLight = engage.touchShield && BlueLightMode(settings, BlueWithShield);
    // The new cover comes up over an open prompt, which must go back on top.
    engage.raisePrompt = engage.touchShield && promptOpen;
    // A video count alone has nothing for the watchdog to keep.
    engage.guard = engage.keyboardProcedure || engage.holdMouse || engage.touchShield;
    return engage;
}

void CALLBACK EngageLock(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(MainWindow, LockTimerId);
    const LockEngagement engage = DecideLockEngagement(Settings, UnlockDialogOpen());
    if (engage.keyboardProcedure) {
        KeyboardHeld = true;
        KeyboardHookProcedure = engage.keyboardProcedure;
        ReplaceHook(&KeyboardHook, WH_KEYBOARD_LL, KeyboardHookProcedure);
        SuspendAccessibilityShortcuts();
    }
    if (engage.holdMouse) {
        MouseHeld = true;
        RefreshTrayIconRect();
        ReplaceHook(&MouseHook, WH_MOUSE_LL, MouseConfineProc);
    }
    if (engage.countVideos) {
        memset(LastWindowTitle, 0, LastWindowTitleRead);
        GetWindowTextA(GetForegroundWindow(), LastWindowTitle, LastWindowTitleRead);
        SetTimer(MainWindow, VideoTimerId, VideoPollInterval, CountVideosTick);
    }

    if (engage.noOptions) {
        ShowBalloon(" Check settings: No locking options selected ");
    } else {
        Tray.SetTrayIcon(IDI_LOCKED);
        Tray.SetTrayTooltip(UnlockTipText);
        ShowBalloon(" Now locked ");
    }
    if (engage.touchShield) {
        if (engage.blueLight)
            ApplyBlueLight(Settings.GreenGamma);
        CreateCoverWindows(AppInstance);
        DisableEdgeGesturesOnCovers();
        if (engage.raisePrompt)
            BringUnlockDialogToFront();
    }
    if (engage.guard)
        SetTimer(MainWindow, LockTimerId, LockGuardInterval, GuardLock);
    ImmediateLock = false;
}

int RequestUnlock() {
    // A request made from inside another one (a tray double-tap dispatched by
    // the prompt's or the message box's own loop) is refused: the open prompt
    // answers for both, and the keyboard hook stays as the first request set it.
    if (UnlockRequestRunning || AppController.UnlockPromptOpen) {
        BringUnlockDialogToFront();
        return UnlockRefused;
    }
    if (!Settings.Prompt) {
        ReleaseLock();
        return UnlockReleased;
    }
    UnlockRequestRunning = true;
    // Whatever keyboard hook holds the keys now (also one left from a lock
    // whose settings changed since) must give way, or the word can't be typed.
    if (KeyboardHeld)
        ExchangeKeyboardHook(UnlockWordKeyFilterProc);
    int answer = AppController.PromptForUnlockWord(MainWindow);
    UnlockRequestRunning = false;
    if (answer == UnlockWordAccepted) {
        ReleaseLock();
        return UnlockReleased;
    }
    if (KeyboardHeld)
        ExchangeKeyboardHook(BlockAllKeysProc);
    return UnlockRefused;
}

void ReleaseLock() {
    ImmediateLock = false;
    Tray.SetMenuItemText(IDM_LOCK, LockItemText);
    Unlocked = true;
    DiscardPendingKeyboardMessages();
    RemoveHook(&KeyboardHook);
    KeyboardHookProcedure = nullptr;
    KeyboardHeld = false;
    RemoveHook(&MouseHook);
    MouseHeld = false;
    RestoreAccessibilityShortcuts();
    DestroyCoverWindows();
    KillTimer(MainWindow, LockTimerId);
    KillTimer(MainWindow, VideoTimerId);
    ShowBalloon("");
    Tray.SetTrayTooltip(LockTipText);
    Tray.SetTrayIcon(IDI_MORROWBY);
    DrawMenuBar(MainWindow);
    if (!BlueLightMode(Settings, BlueAlways))
        RestoreGamma();
}

void ReinstallLockHooks() {
    if (Unlocked)
        return;
    // Windows says nothing when it drops a hook, so each held hook is put in
    // again; the keyboard keeps its procedure (the word filter while the
    // prompt is open).
    if (KeyboardHeld)
        ReplaceHook(&KeyboardHook, WH_KEYBOARD_LL, KeyboardHookProcedure);
    if (MouseHeld)
        ReplaceHook(&MouseHook, WH_MOUSE_LL, MouseConfineProc);
}

void CALLBACK GuardLock(HWND window, UINT message, UINT_PTR id, DWORD time) {
    ReinstallLockHooks();
    if (MouseHeld)
        RefreshTrayIconRect();
    ReassertCover(window, message, id, time);
}

HOOKPROC KeyboardHookProcedureInUse() {
    return KeyboardHook ? KeyboardHookProcedure : nullptr;
}

int GetOsVersionLevel() {
    struct VersionTest {
        WORD major;
        WORD minor;
        WORD servicePack;
        int level;
    };
    static const VersionTest tests[] = {
        {5, 1, 0, 0}, {5, 1, 1, 1}, {5, 1, 2, 2}, {5, 1, 3, 3}, {6, 0, 0, 4},  {6, 0, 1, 5},
        {6, 0, 2, 6}, {6, 1, 0, 7}, {6, 1, 1, 8}, {6, 2, 0, 9}, {6, 3, 0, 10},
    };
    // Older than XP: no level of its own, and low enough to keep the
    // edge-gesture property off.
    int level = -1;
    for (const VersionTest& test : tests)
        if (IsOsVersionAtLeast(test.major, test.minor, test.servicePack))
            level = test.level;
    return level;
}

void DisableEdgeGesturesOnCovers() {
    if (GetOsVersionLevel() <= 7)
        return;
    if (CoverWindow)
        DisableEdgeGestures(CoverWindow, true);
    for (int i = 0; i < OtherCoverCount; i++)
        DisableEdgeGestures(OtherCoverWindows[i], true);
}

HRESULT DisableEdgeGestures(HWND window, bool disable) {
    // Looked up at run time: shell32 has it from Windows 7 on, and a static
    // import would keep the program from starting at all on Vista.
    typedef HRESULT(WINAPI * PropertyStoreForWindow)(HWND, REFIID, void**);
    PropertyStoreForWindow getStore =
        reinterpret_cast<PropertyStoreForWindow>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("shell32.dll"), "SHGetPropertyStoreForWindow")));
    if (!getStore)
        return E_NOTIMPL;
    ComReference<IPropertyStore> store;
    HRESULT result = getStore(window, PropertyStoreInterface, store.Receive());
    if (FAILED(result))
        return result;
    PROPVARIANT value;
    PropVariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = disable ? VARIANT_TRUE : VARIANT_FALSE;
    return store->SetValue(EdgeGestureDisableTouchWhenFullscreen, value);
}

static void ShowBalloon(const char* text) {
    Tray.ShowTrayBalloon(text, nullptr, 0, 10);
}

static void DiscardPendingKeyboardMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

static void ExchangeKeyboardHook(HOOKPROC procedure) {
    DiscardPendingKeyboardMessages();
    KeyboardHookProcedure = procedure;
    ReplaceHook(&KeyboardHook, WH_KEYBOARD_LL, procedure);
}

// The new hook goes in before the old one comes out, so input is never
// unguarded in between. When the new one fails the old one stays: it may
// still be working, and the watchdog tries again.
static void ReplaceHook(HHOOK* hook, int type, HOOKPROC procedure) {
    HHOOK fresh = InstallHook(type, procedure, AppInstance, 0);
    if (!fresh)
        return;
    // A new keyboard hook is told of no key pressed before it went in.
    if (type == WH_KEYBOARD_LL)
        ForgetHeldModifiers();
    RemoveHook(hook);
    *hook = fresh;
}

// Asking the shell takes a round trip to the taskbar, too slow for the hook
// itself, so the hook reads this copy.
static void RefreshTrayIconRect() {
    RECT icon = {};
    if (!Tray.GetIconRect(&icon))
        SetRectEmpty(&icon);
    TrayIconRect = icon;
}

static void RemoveHook(HHOOK* hook) {
    if (*hook)
        UnhookWindowsHookEx(*hook);
    *hook = nullptr;
}
