// Start-up sequence, the message loop and the order of shutdown.
#include "startup.h"
#include "app_state.h"
#include "main_window.h"
#include "os_version.h"
#include "splash.h"
#include "system_tray.h"
#include "../features/blue_light.h"
#include "../lock/cover_windows.h"
#include "../lock/lock_controller.h"
#include "../res/resource.h"
#include "../settings/settings_controller.h"
#include "../settings/settings_store.h"
#include <string>
#include <wtsapi32.h>

static void EndWithUnreadableSettings();
static void ApplyInitialBlueLight();

static const UINT TrayRetryInterval = 2000;
static const int TrayRetries = 60; // two minutes
static int TrayRetriesLeft = 0;

int RunMorrowby(HINSTANCE instance) {
    LoadResourceTexts(instance);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    InitSettingsKeyPath(MakerName, AppTitle);

    // One copy per user session: the main window's class name is the key.
    if (FindWindowA(MainClassName, nullptr)) {
        std::string text = std::string(AppTitle) + " is already running";
        ShowSplashStatus(nullptr, text.c_str(), 0);
        Sleep(3000);
        return 0;
    }

    RegisterMainWindowClass(instance);
    RegisterCoverClass(instance);
    RegisterUnlockImageClass(instance);
    if (!CreateMainWindow(instance))
        return 0;

    ShowSplashStatus(nullptr, "Starting application...", 0);
    Sleep(2000);
    ShowSplashStatus(nullptr, LockTipText, 0);
    if (LoadSettings() == SettingsKeyUnreadable) {
        EndWithUnreadableSettings();
        return 0;
    }
    Sleep(3000);
    ShowSplashStatus(nullptr, "Minimizing to system tray", 0);
    Sleep(4000);
    CloseSplash();

    if (IsOsVersionAtLeast(6, 0, 0))
        WTSRegisterSessionNotification(MainWindow, NOTIFY_FOR_THIS_SESSION);
    ApplyInitialBlueLight();
    if (Settings.EnableLockAtStartup) {
        ImmediateLock = true;
        StartLockCountdown();
    }

    int exitCode = RunMessageLoop(accelerators);
    RestoreGamma();
    return exitCode;
}

void LoadResourceTexts(HINSTANCE instance) {
    struct ResourceText {
        UINT id;
        char* buffer;
    };
    const ResourceText texts[] = {
        {IDS_APP_TITLE, AppTitle},         {IDS_MAIN_CLASS, MainClassName},
        {IDS_UNLOCK_ITEM, UnlockItemText}, {IDS_LOCK_ITEM, LockItemText},
        {IDS_UNLOCK_TIP, UnlockTipText},   {IDS_LOCK_TIP, LockTipText},
        {IDS_ENABLE_BLUE, EnableBlueText}, {IDS_DISABLE_BLUE, DisableBlueText},
    };
    for (const ResourceText& text : texts)
        LoadStringA(instance, text.id, text.buffer, ResourceTextSize);
}

bool CreateMainWindow(HINSTANCE instance) {
    AppInstance = instance;
    MainWindow = CreateWindowExA(WS_EX_TOOLWINDOW, MainClassName, AppTitle, WS_POPUP, CW_USEDEFAULT,
                                 0, CW_USEDEFAULT, 0, nullptr, nullptr, AppInstance, nullptr);
    if (!MainWindow)
        return false;
    HICON icon = LoadIconA(AppInstance, MAKEINTRESOURCEA(IDI_MORROWBY));
    // Without a taskbar the add fails. The program goes on (a lock asked for
    // at start-up engages all the same); the tray adds the icon when the
    // shell broadcasts "TaskbarCreated", and the timer covers a shell that
    // never does.
    if (!Tray.Install(AppInstance, MainWindow, TrayCallbackMessage, LockTipText, icon, IDR_TRAYMENU,
                      FALSE, nullptr, nullptr, 0, 10)) {
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
    if (!Unlocked)
        ReleaseLock();
    DestroyWindow(MainWindow); // its WM_DESTROY restores the ramp and ends the loop
    MainWindow = nullptr;
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
    ShowSplashStatus(nullptr, "SETTINGS: The software can't read the settings registry", 0);
    Sleep(24000);
    MSG message;
    GetMessageA(&message, nullptr, 0, 0);
}

static void ApplyInitialBlueLight() {
    if (BlueLightMode(Settings, BlueAlways))
        ApplyBlueLight(Settings.GreenGamma);
    DeriveBlueLightMenuItem();
}
