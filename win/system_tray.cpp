// The notification-area icon: adding, changing and removing it, balloons, the
// popup menu on a tap, and putting the icon back when the taskbar restarts.
#include "system_tray.h"
#include "dpi.h"
#include "system_call.h"

// Contents:
//   CallShellNotifyIcon      the real shell behind the ShellNotifyIcon seam
//   CSystemTray              construction and destruction
//   Install, RemoveFromTray  adding and removing the icon
//   SetTrayIcon, SetTrayTooltip, ShowTrayBalloon
//   LoadTrayIcon, NoteIconResource, FitIconToDpi   the icon at the shell's size
//   SetMenuItemText          one popup menu item's text
//   ReAddIcon                the icon back after the shell lost it
//   GetIconRect              where the shell shows the icon
//   HandleNotification       a tap opens the popup menu
//   TrayWindowProc, RegisterTrayWindowClass

static BOOL WINAPI CallShellNotifyIcon(DWORD message, PNOTIFYICONDATAW data) {
    return Shell_NotifyIconW(message, data);
}
// Looked up at run time: shell32 has it from Windows 7 on.
static HRESULT WINAPI CallShellNotifyIconGetRect(const NOTIFYICONIDENTIFIER* icon, RECT* rect) {
    static const NotifyIconRectFunction getRect =
        LookUpSystemCall<NotifyIconRectFunction>("shell32.dll", "Shell_NotifyIconGetRect");
    return getRect ? getRect(icon, rect) : E_NOTIMPL;
}
// Constant initialisation: the pointers are valid before any constructor runs.
ShellTrayCalls Shell = {CallShellNotifyIcon, CallShellNotifyIconGetRect};

CSystemTray* CSystemTray::instancePointer = nullptr;

static const char* const TrayWindowClassName = "TrayIconClass";
// How far above the touch point the popup menu opens, so a finger does not
// cover its first item.
static const int PopupLift = 10;

#ifndef _WIN64
// The shell reads the structure by its size: the full Vista layout is 956 bytes.
static_assert(sizeof(NOTIFYICONDATAW) == 956, "NOTIFYICONDATAW is not the full layout");
#endif

CSystemTray::CSystemTray()
    : menu(), iconCopy(), iconData(), instance(nullptr), hiddenWindow(), enabled(FALSE),
      hidden(TRUE), removed(TRUE), reAddPending(FALSE), balloonsSupported(FALSE), creationFlags(0),
      iconResource(0), iconPixels(0), loadedIcons(), loadedIconPixels(0) {
    instancePointer = this;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version))
        balloonsSupported =
            version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

// The icon goes from the shell before its window and picture go.
CSystemTray::~CSystemTray() {
    RemoveFromTray();
    hiddenWindow.Reset();
    if (instancePointer == this)
        instancePointer = nullptr;
}

// Stores a private copy of the icon and lets go of the previous copy. The
// caller may destroy its own handle as soon as this returns.
void CSystemTray::KeepIcon(HICON shown) {
    iconCopy.Reset(shown ? CopyIcon(shown) : nullptr);
    iconData.hIcon = iconCopy;
}

BOOL CSystemTray::Install(HINSTANCE module, HWND parent, UINT callbackMessage,
                          const wchar_t* tooltip, HICON shownIcon, UINT iconId, BOOL hiddenIcon,
                          const wchar_t* balloonText, const wchar_t* balloonTitle,
                          DWORD balloonFlags, UINT balloonTimeoutSeconds) {
    enabled = LOBYTE(LOWORD(GetVersion())) >= 4;
    if (!enabled)
        return FALSE;
    // Installing again (the tests bring the program up many times in one
    // process) starts from a clean icon instead of a second one.
    RemoveFromTray();
    // The tray being installed is the one the hidden window's broadcasts
    // (TaskbarCreated) are for, also after another tray object has come and gone.
    instancePointer = this;

    iconData.uID = iconId;
    instance = module;
    loadedIcons.clear(); // loaded from the module before, if another
    menu.Reset(LoadMenuW(instance, MAKEINTRESOURCEW(iconId)));

    RegisterTrayWindowClass(instance);
    if (!hiddenWindow || !IsWindow(hiddenWindow))
        hiddenWindow.Reset(CreateWindowExA(0, TrayWindowClassName, "", WS_POPUP, CW_USEDEFAULT,
                                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                           nullptr, instance, nullptr));

    iconData.cbSize = sizeof(NOTIFYICONDATAW);
    iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    iconData.hWnd = parent ? parent : hiddenWindow;
    KeepIcon(shownIcon);
    iconData.uCallbackMessage = callbackMessage;
    lstrcpynW(iconData.szTip, tooltip ? tooltip : L"", ARRAYSIZE(iconData.szTip));

    bool withBalloon = balloonsSupported && balloonText;
    if (withBalloon) {
        iconData.uFlags |= NIF_INFO;
        lstrcpynW(iconData.szInfo, balloonText, ARRAYSIZE(iconData.szInfo));
        lstrcpynW(iconData.szInfoTitle, balloonTitle ? balloonTitle : L"",
                  ARRAYSIZE(iconData.szInfoTitle));
        iconData.uTimeout = balloonTimeoutSeconds * 1000;
        iconData.dwInfoFlags = balloonFlags;
    }

    hidden = hiddenIcon;
    if (balloonsSupported && hiddenIcon) {
        iconData.uFlags = NIF_STATE;
        iconData.dwState = NIS_HIDDEN;
        iconData.dwStateMask = NIS_HIDDEN;
    }
    creationFlags = iconData.uFlags;

    BOOL result = TRUE;
    if (!hiddenIcon || balloonsSupported) {
        result = Shell.ShellNotifyIcon(NIM_ADD, &iconData);
        hidden = removed = !result;
        // A failed add is tried again when the shell tells us it has changed.
        reAddPending = !result;
    }
    if (withBalloon)
        iconData.szInfo[0] = L'\0';
    return result;
}

BOOL CSystemTray::RemoveFromTray() {
    reAddPending = FALSE;
    if (!enabled || removed)
        return TRUE;
    iconData.uFlags = 0;
    if (Shell.ShellNotifyIcon(NIM_DELETE, &iconData))
        hidden = removed = TRUE;
    return removed;
}

// The shell shows small icons, at the scale of the taskbar's monitor (the
// primary one). An icon of another size it shrinks or blows up, blurred.
static int NotifyIconPixels() {
    return SystemMetricForDpi(SM_CXSMICON, PrimaryMonitorDpi());
}

HICON CSystemTray::LoadTrayIcon(HINSTANCE module, UINT iconResourceId) {
    const int pixels = NotifyIconPixels();
    return (HICON)LoadImageA(module, MAKEINTRESOURCEA(iconResourceId), IMAGE_ICON, pixels, pixels,
                             LR_DEFAULTCOLOR);
}

void CSystemTray::NoteIconResource(UINT iconResourceId) {
    iconResource = iconResourceId;
    iconPixels = NotifyIconPixels();
}

HICON CSystemTray::LoadedIcon(UINT iconResourceId) {
    const int pixels = NotifyIconPixels();
    if (pixels != loadedIconPixels) {
        loadedIcons.clear();
        loadedIconPixels = pixels;
    }
    OwnedIcon& loaded = loadedIcons[iconResourceId];
    if (!loaded)
        loaded.Reset(LoadTrayIcon(instance, iconResourceId));
    return loaded;
}

BOOL CSystemTray::SetTrayIcon(UINT iconResourceId) {
    const BOOL result = SetTrayIcon(LoadedIcon(iconResourceId));
    NoteIconResource(iconResourceId);
    return result;
}

void CSystemTray::FitIconToDpi() {
    if (iconResource && NotifyIconPixels() != iconPixels)
        SetTrayIcon(iconResource);
}

BOOL CSystemTray::SetTrayIcon(HICON shown) {
    iconResource = 0; // a picture from elsewhere: no resource to load again
    if (!enabled)
        return FALSE;
    iconData.uFlags = NIF_ICON;
    KeepIcon(shown);
    if (hidden)
        return TRUE; // goes to the shell with the next add
    return Shell.ShellNotifyIcon(NIM_MODIFY, &iconData);
}

BOOL CSystemTray::SetTrayTooltip(const wchar_t* text) {
    if (!enabled)
        return FALSE;
    iconData.uFlags = NIF_TIP;
    lstrcpynW(iconData.szTip, text ? text : L"", ARRAYSIZE(iconData.szTip));
    if (hidden)
        return TRUE;
    return Shell.ShellNotifyIcon(NIM_MODIFY, &iconData);
}

// An empty text still goes out with NIF_INFO: that is how the shell is told
// to take a showing balloon away.
BOOL CSystemTray::ShowTrayBalloon(const wchar_t* text, const wchar_t* title, DWORD flags,
                                  UINT timeoutSeconds) {
    if (!balloonsSupported)
        return FALSE;
    iconData.uFlags = NIF_INFO;
    lstrcpynW(iconData.szInfo, text ? text : L"", ARRAYSIZE(iconData.szInfo));
    lstrcpynW(iconData.szInfoTitle, title ? title : L"", ARRAYSIZE(iconData.szInfoTitle));
    iconData.dwInfoFlags = flags;
    iconData.uTimeout = timeoutSeconds * 1000;
    BOOL result = Shell.ShellNotifyIcon(NIM_MODIFY, &iconData);
    iconData.szInfo[0] = L'\0';
    return result;
}

void CSystemTray::SetMenuItemText(UINT command, const wchar_t* text) {
    if (!menu)
        return;
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE | MIIM_DATA;
    GetMenuItemInfoW(menu, command, FALSE, &item);
    item.fType = MFT_STRING;
    item.dwTypeData = const_cast<wchar_t*>(text); // only read: the item keeps a copy
    SetMenuItemInfoW(menu, command, FALSE, &item);
}

// Adds the icon again with the picture and tooltip it has now. A balloon is
// not part of it: the one shown at install time is long gone.
void CSystemTray::ReAddIcon() {
    if (!enabled || !reAddPending)
        return;
    iconData.uFlags = creationFlags & ~NIF_INFO;
    iconData.szInfo[0] = L'\0';
    BOOL added = Shell.ShellNotifyIcon(NIM_ADD, &iconData);
    // Some shells announce a new taskbar while still holding the old icons;
    // the add then fails because ours is there, and bringing it up to date
    // is all that is needed.
    if (!added)
        added = Shell.ShellNotifyIcon(NIM_MODIFY, &iconData);
    hidden = removed = !added;
    reAddPending = !added;
}

// The rectangle is in the caller's coordinates: physical pixels in this
// per-monitor aware program, as the mouse hook's points are.
bool CSystemTray::GetIconRect(RECT* rect) const {
    if (!enabled || removed)
        return false;
    NOTIFYICONIDENTIFIER icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = iconData.hWnd;
    icon.uID = iconData.uID;
    return SUCCEEDED(Shell.NotifyIconGetRect(&icon, rect)) && !IsRectEmpty(rect);
}

LRESULT CSystemTray::HandleNotification(WPARAM wParam, LPARAM lParam) {
    if (wParam != iconData.uID)
        return 0;
    if (!iconData.hWnd)
        return 0;
    // Only a press opens the menu: a finger or pen down, or the left button.
    // Right clicks, releases and moves are ignored.
    UINT mouseMessage = LOWORD(lParam);
    if (mouseMessage != WM_LBUTTONDOWN && mouseMessage != WM_POINTERDOWN)
        return 1;
    if (!menu)
        menu.Reset(LoadMenuW(instance, MAKEINTRESOURCEW(iconData.uID)));
    if (!menu)
        return 0;
    HMENU popup = GetSubMenu(menu, 0);
    if (!popup)
        return 0;
    SetMenuDefaultItem(popup, 0, TRUE);
    POINT popupPosition = {};
    GetCursorPos(&popupPosition);
    // Without the foreground the menu would not close when the user taps
    // elsewhere, and the WM_NULL afterwards lets the menu's loop finish cleanly.
    SetForegroundWindow(iconData.hWnd);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, popupPosition.x,
                   popupPosition.y - PopupLift, 0, iconData.hWnd, nullptr);
    PostMessageA(iconData.hWnd, WM_NULL, 0, 0);
    return 1;
}

// The hidden window hears what the shell broadcasts to every top-level
// window. When the taskbar is re-created (explorer restarted) it has
// forgotten every icon, so ours goes back if it was showing. A work-area
// change only retries an add that failed: the icon is still there otherwise.
LRESULT CALLBACK CSystemTray::TrayWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    CSystemTray* tray = instancePointer;
    if (!tray || window != tray->hiddenWindow)
        return DefWindowProcA(window, message, wParam, lParam);
    // The message a new taskbar broadcasts to every top-level window.
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (message == taskbarCreated) {
        // The taskbar is also made anew when its scale changes: the icon
        // comes back at the size it shows now.
        if (tray->iconResource && NotifyIconPixels() != tray->iconPixels) {
            tray->KeepIcon(tray->LoadedIcon(tray->iconResource));
            tray->NoteIconResource(tray->iconResource);
        }
        if (tray->enabled && !tray->removed)
            tray->reAddPending = TRUE;
        tray->ReAddIcon();
        return 0;
    }
    if (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA) {
        tray->ReAddIcon();
        return 0;
    }
    if (message == tray->iconData.uCallbackMessage)
        return tray->HandleNotification(wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void CSystemTray::RegisterTrayWindowClass(HINSTANCE module) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = TrayWindowProc;
    windowClass.hInstance = module;
    windowClass.lpszMenuName =
        MAKEINTRESOURCEA(instancePointer ? instancePointer->iconData.uID : 0);
    windowClass.lpszClassName = TrayWindowClassName;
    RegisterClassExA(&windowClass);
}
