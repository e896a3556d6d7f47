// The hidden main window: the program's address for the tray icon, the menus,
// its timers and the system's display, power and session notifications.
#include "main_window.h"
#include "blue_light_item.h"
#include "resource_texts.h"
#include "settings_dialog.h"
#include "splash.h"
#include "../features/blue_light.h"
#include "../lock/accessibility_shortcuts.h"
#include "../lock/lock_controller.h"
#include "../lock/shield.h"
#include "../lock/viewing_limit_run.h"
#include "../res/resource.h"
#include "../res/timer_ids.h"
#include "../res/version.h"
#include "../win/string_table.h"

static LRESULT HandleCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
static void ReapplyBlueLightAfterSystemEvent(HWND window);

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MORROWBY));
    windowClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    const std::string className = AnsiText(Texts.MainClassName);
    windowClass.lpszClassName = className.c_str();
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MORROWBY));
    RegisterClassExA(&windowClass);
}

void AttachMainWindow(HWND window, HINSTANCE instance) {
    SetGammaWatchWindow(window);
    AttachLock({window, instance, &Tray, Texts.LockItemText, Texts.UnlockItemText,
                Texts.LockTipText, Texts.UnlockTipText});
}

// Also the window procedure of the padlock window ("UnlockImage" class), which
// is why some branches ask which window they are serving.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The padlock's tap is taken here, not in the main loop: the settings
    // dialog, the About box, message boxes and the unlock word prompt run
    // loops of their own, and the padlock must answer inside every one.
    const HWND padlock = Shield.UnlockImageWindow();
    if (padlock && window == padlock) {
        switch (message) {
        case WM_LBUTTONDOWN:
            return 0; // a press does nothing; one tap asks on its release
        case WM_LBUTTONUP:
            RequestUnlock(); // refused while a request is running already
            return 0;
        case WM_MOUSEACTIVATE:
            return ShieldMouseActivation();
        case WM_SYSCOMMAND:
            if (IsRefusedShieldCommand(wParam))
                return 0;
            break;
        }
    }
    switch (message) {
    case WM_DESTROY:
        if (window == MainWindow) {
            RestoreGamma();
            RestoreAccessibilityShortcuts();
            PostQuitMessage(0);
            AttachMainWindow(nullptr, Lock.Host.Instance);
        }
        return 0;
    case WM_PAINT:
        if (padlock && window == padlock)
            Shield.PaintUnlockImage(window);
        else
            ValidateRect(window, nullptr); // nothing to draw; keeps WM_PAINT from repeating
        return 0;
    case WM_CLOSE:
        // The padlock goes only with the lock; Alt+F4 on it (keyboard free,
        // padlock active) would otherwise take the parent's way out away.
        if (padlock && window == padlock)
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        RestoreGamma();
        // The process may be ended without another message; a session that
        // goes on (wParam FALSE) keeps the lock as it is.
        if (wParam)
            RestoreAccessibilityShortcuts();
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // A monitor added, removed, turned, or set to another scale. The
        // padlock's suggested rectangle is ignored: the shield lays itself out.
        Shield.FitCoverToDisplay();
        Tray.FitIconToDpi();
        return 0;
    case WM_COMMAND:
        return HandleCommand(window, message, wParam, lParam);
    case WM_TIMER:
        return 0; // every timer of this window has its own procedure
    case WM_POWERBROADCAST:
    case WM_WTSSESSION_CHANGE:
        if (message == WM_POWERBROADCAST)
            NoteViewingLimitPowerEvent(wParam);
        ReapplyBlueLightAfterSystemEvent(window);
        ReinstallLockHooks();
        return 0;
    case TrayCallbackMessage:
        // The tray reports a double-tap as its callback with lParam
        // WM_LBUTTONDBLCLK, taken here before the tray's own handler sees it.
        // Only this message counts: others carry 515 in lParam for reasons of
        // their own (a session notification for session 515), and the padlock
        // shares this procedure but never gets the tray's callback.
        if (padlock && window == padlock)
            return 0;
        if (lParam == WM_LBUTTONDBLCLK) {
            if (Lock.Unlocked)
                StartLockCountdown();
            else
                RequestUnlock();
            return 0;
        }
        return Tray.HandleNotification(wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

static LRESULT HandleCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_ABOUT:
        ShowSplashStatus(window, L"" MORROWBY_WEB_ADDRESS, 10000);
        return 0;
    case IDM_EXIT:
        if (RequestUnlock() == UnlockResult::Released)
            MainWindow.Reset();
        return 0;
    case IDM_LOCK:
        if (Lock.Unlocked)
            StartLockCountdown();
        else
            RequestUnlock();
        return 0;
    case IDM_SETTINGS:
        if (RequestUnlock() == UnlockResult::Released)
            OpenSettingsDialog(window);
        // The dialog may have changed the mode, and a refused word changes
        // nothing, but the item is re-derived either way.
        ApplyBlueLightPolicy(BlueLightEvent::SettingsClosed);
        return 0;
    case IDM_BLUELIGHT:
        ApplyBlueLightPolicy(BlueLightEvent::MenuItem);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Resume and session switches may put the system's own ramp back; a reduced
// ramp is written again at once and once more a little later, when the
// display has settled. A second event starts the delay again.
static void ReapplyBlueLightAfterSystemEvent(HWND window) {
    KillTimer(window, BlueLightReapplyTimerId);
    if (ApplyBlueLightPolicy(BlueLightEvent::SystemEvent).ReapplyLater)
        SetTimer(window, BlueLightReapplyTimerId, BlueLightReapplyDelay, BlueLightReapplyTimer);
}

void CALLBACK BlueLightReapplyTimer(HWND window, UINT, UINT_PTR, DWORD) {
    ApplyBlueLightPolicy(BlueLightEvent::ReapplyTimer);
    KillTimer(window, BlueLightReapplyTimerId);
}
