// Start-up sequence, the message loop and the order of shutdown.
#include "startup.h"
#include "blue_light_item.h"
#include "main_window.h"
#include "resource_texts.h"
#include "splash.h"
#include "../features/blue_light.h"
#include "../lock/lock_controller.h"
#include "../lock/shield.h"
#include "../res/resource.h"
#include "../res/timer_ids.h"
#include "../res/version.h"
#include "../settings/settings_store.h"
#include "../win/os_version.h"
#include "../win/session_mutex.h"
#include "../win/string_table.h"
#include <wtsapi32.h>

static void EndWithUnreadableSettings();

static VOID WINAPI CallSleep(DWORD milliseconds) {
    Sleep(milliseconds);
}
// Constant initialisation: valid before any constructor runs.
PauseFunction StartupPause = CallSleep;

static const wchar_t* const InstanceMutexName = L"" MORROWBY_MAKER_NAME "." MORROWBY_PRODUCT_NAME;

static const UINT TrayRetryInterval = 2000;
static const int TrayRetries = 60; // two minutes
static int TrayRetriesLeft = 0;

int RunMorrowby(HINSTANCE instance) {
    LoadResourceTexts(instance);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    InitSettingsKeyPath();

    // One copy per user session. Taken before anything outside the process
    // changes: a copy that goes away again must leave no trace, and a ramp it
    // read now could be the running copy's tint, which it would then bring
    // back at its exit. Held until this returns, after the last restore of
    // the loop's end.
    HeldMutex onlyCopy = TakeSessionMutex(InstanceMutexName);
    if (!onlyCopy) {
        ShowSplashStatus(nullptr, FormatText(IDS_ALREADY_RUNNING, Texts.AppTitle).c_str(), 0);
        StartupPause(3000);
        return 0;
    }
    SaveDisplayGamma();

    RegisterMainWindowClass(instance);
    RegisterCoverClass(instance);
    RegisterUnlockImageClass(instance, MainWindowProc);
    if (!CreateMainWindow(instance))
        return 0;

    ShowSplashStatus(nullptr, LoadText(IDS_STARTING).c_str(), 0);
    StartupPause(2000);
    ShowSplashStatus(nullptr, Texts.LockTipText, 0);
    if (LoadSettings() == SettingsKey::Unreadable) {
        EndWithUnreadableSettings();
        return 0;
    }
    StartupPause(3000);
    ShowSplashStatus(nullptr, LoadText(IDS_MINIMIZING).c_str(), 0);
    StartupPause(4000);
    CloseSplash();

    if (IsOsVersionAtLeast(6, 0, 0))
        WTSRegisterSessionNotification(MainWindow, NOTIFY_FOR_THIS_SESSION);
    ApplyBlueLightPolicy(BlueLightEvent::Startup);
    if (Settings.EnableLockAtStartup) {
        Lock.ImmediateLock = true;
        StartLockCountdown();
    }

    int exitCode = RunMessageLoop(accelerators);
    RestoreGamma();
    return exitCode;
}

bool CreateMainWindow(HINSTANCE instance) {
    // An ANSI window like every window of the program that shows no text.
    MainWindow.Reset(CreateWindowExA(WS_EX_TOOLWINDOW, AnsiText(Texts.MainClassName).c_str(),
                                     AnsiText(Texts.AppTitle).c_str(), WS_POPUP, CW_USEDEFAULT, 0,
                                     CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr));
    if (!MainWindow)
        return false;
    AttachMainWindow(MainWindow, instance);
    OwnedIcon icon(CSystemTray::LoadTrayIcon(instance, IDI_MORROWBY));
    // Without a taskbar the add fails. The program goes on (a lock asked for
    // at start-up engages all the same); the tray adds the icon when the
    // shell broadcasts "TaskbarCreated", and the timer covers a shell that
    // never does.
    const BOOL added = Tray.Install(instance, MainWindow, TrayCallbackMessage, Texts.LockTipText,
                                    icon, IDR_TRAYMENU, FALSE, nullptr, nullptr, 0, 10);
    Tray.NoteIconResource(IDI_MORROWBY);
    if (!added) {
        TrayRetriesLeft = TrayRetries;
        SetTimer(MainWindow, TrayRetryTimerId, TrayRetryInterval, RetryTrayIcon);
    }
    return true;
}

void CALLBACK RetryTrayIcon(HWND window, UINT, UINT_PTR, DWORD) {
    Tray.ReAddIcon();
    if (Tray.IconMissing() && --TrayRetriesLeft > 0)
        return;
    KillTimer(window, TrayRetryTimerId);
    if (!Tray.IconMissing())
        return;
    // No shell came: nothing could ever unlock or end the program, so it lets
    // go of everything it holds and ends.
    if (!Lock.Unlocked)
        ReleaseLock();
    MainWindow.Reset(); // its WM_DESTROY restores the ramp and ends the loop
}

bool PreTranslateLoopMessage(MSG* message, HACCEL accelerators) {
    return TranslateAcceleratorA(message->hwnd, accelerators, message) != 0;
}

int RunMessageLoop(HACCEL accelerators) {
    MSG message = {};
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (result == -1)
            return 0;
        if (PreTranslateLoopMessage(&message, accelerators))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}

// The settings key could neither be opened nor created: say so on the splash
// for a while, then end at the next message without entering the main loop.
static void EndWithUnreadableSettings() {
    RestoreGamma();
    ShowSplashStatus(nullptr, LoadText(IDS_SETTINGS_UNREADABLE).c_str(), 0);
    StartupPause(24000);
    MSG message;
    GetMessageA(&message, nullptr, 0, 0);
}
