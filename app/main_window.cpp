// The hidden main window: the program's address for the tray icon, the menus,
// its timers and the system's display, power and session notifications.
#include "main_window.h"
#include "app_state.h"
#include "splash.h"
#include "system_tray.h"
#include "../features/blue_light.h"
#include "../lock/accessibility_shortcuts.h"
#include "../lock/cover_windows.h"
#include "../lock/lock_controller.h"
#include "../res/resource.h"
#include "../res/version.h"
#include "../settings/settings_controller.h"
#include "../settings/settings_store.h"

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
    windowClass.lpszClassName = MainClassName;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MORROWBY));
    RegisterClassExA(&windowClass);
}

// Also the window procedure of the padlock window ("UnlockImage" class), which
// is why some branches ask which window they are serving.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The padlock's tap is taken here, not in the main loop: the settings
    // dialog, the About box, message boxes and the unlock word prompt run
    // loops of their own, and the padlock must answer inside every one.
    if (UnlockImageWindow && window == UnlockImageWindow) {
        switch (message) {
        case WM_LBUTTONDOWN:
            return 0; // a press does nothing; one tap asks on its release
        case WM_LBUTTONUP:
            RequestUnlock(); // refused while a request is running already
            return 0;
        case WM_MOUSEACTIVATE:
            return ShieldMouseActivation();
        }
    }
    // The tray reports a double-tap as the callback message with lParam
    // WM_LBUTTONDBLCLK; it is taken here before the tray's own handler sees it.
    if (lParam == WM_LBUTTONDBLCLK) {
        if (Unlocked)
            StartLockCountdown();
        else
            RequestUnlock();
        return 0;
    }

    switch (message) {
    case WM_DESTROY:
        if (window == MainWindow) {
            RestoreGamma();
            RestoreAccessibilityShortcuts();
            PostQuitMessage(0);
        }
        return 0;
    case WM_PAINT:
        if (window == UnlockImageWindow)
            PaintUnlockImage(window);
        else
            ValidateRect(window, nullptr); // nothing to draw; keeps WM_PAINT from repeating
        return 0;
    case WM_CLOSE:
        // The padlock goes only with the lock; Alt+F4 on it (keyboard free,
        // padlock active) would otherwise take the parent's way out away.
        if (window == UnlockImageWindow)
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
        FitCoverToDisplay();
        DisableEdgeGesturesOnCovers();
        return 0;
    case WM_COMMAND:
        return HandleCommand(window, message, wParam, lParam);
    case WM_TIMER:
        return 0; // every timer of this window has its own procedure
    case WM_POWERBROADCAST:
    case WM_WTSSESSION_CHANGE:
        ReapplyBlueLightAfterSystemEvent(window);
        ReinstallLockHooks();
        return 0;
    case TrayCallbackMessage:
        return Tray.HandleNotification(wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

static LRESULT HandleCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_ABOUT:
        ShowSplashStatus(window, MORROWBY_WEB_ADDRESS, 10000);
        return 0;
    case IDM_EXIT:
        if (RequestUnlock() == UnlockReleased) {
            DestroyWindow(MainWindow);
            MainWindow = nullptr;
        }
        return 0;
    case IDM_LOCK:
        if (Unlocked)
            StartLockCountdown();
        else
            RequestUnlock();
        return 0;
    case IDM_SETTINGS:
        if (RequestUnlock() == UnlockReleased)
            AppController.OpenSettingsDialog(window);
        // The dialog may have changed the mode, and a refused word changes
        // nothing, but the item is re-derived either way.
        DeriveBlueLightMenuItem();
        return 0;
    case IDM_BLUELIGHT:
        if (!BlueLightMenuState)
            ApplyBlueLight(Settings.GreenGamma);
        else
            RestoreGamma();
        ToggleBlueLightMenuItem();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void ToggleBlueLightMenuItem() {
    if (!Tray.Menu())
        return;
    char* text = BlueLightMenuState ? EnableBlueText : DisableBlueText;
    BlueLightMenuState = !BlueLightMenuState;
    Tray.SetMenuItemText(IDM_BLUELIGHT, text);
    EnableMenuItem(Tray.Menu(), IDM_BLUELIGHT, MF_ENABLED);
}

void DeriveBlueLightMenuItem() {
    if (BlueLightMode(Settings, BlueAlways)) {
        BlueLightMenuState = false;
        ToggleBlueLightMenuItem();
    } else if (BlueLightMode(Settings, BlueFromMenu)) {
        BlueLightMenuState = true;
        ToggleBlueLightMenuItem();
    } else if (Tray.Menu()) {
        EnableMenuItem(Tray.Menu(), IDM_BLUELIGHT, MF_GRAYED);
    }
}

// Resume and session switches may put the system's own ramp back; a reduced
// ramp is written again at once and once more a little later, when the
// display has settled.
static void ReapplyBlueLightAfterSystemEvent(HWND window) {
    KillTimer(window, BlueLightReapplyTimerId);
    if (!BlueLightApplied)
        return;
    ApplyBlueLight(Settings.GreenGamma);
    SetTimer(window, BlueLightReapplyTimerId, BlueLightReapplyDelay, BlueLightReapplyTimer);
}

void CALLBACK BlueLightReapplyTimer(HWND window, UINT, UINT_PTR, DWORD) {
    if (BlueLightApplied) {
        BlueLightMenuState = false;
        SendMessageA(window, WM_COMMAND, IDM_BLUELIGHT, 0);
    }
    KillTimer(window, BlueLightReapplyTimerId);
}
