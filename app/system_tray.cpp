// Placeholder until the tray icon lands: adds a plain icon, keeps the menu.
#include "system_tray.h"

static BOOL WINAPI CallShellNotifyIcon(DWORD message, PNOTIFYICONDATAA data) {
    return Shell_NotifyIconA(message, data);
}
ShellNotifyIconFunction ShellNotifyIcon = CallShellNotifyIcon;

CSystemTray* CSystemTray::instancePointer = nullptr;
UINT CSystemTray::tooltipLimit = 128;

CSystemTray::CSystemTray()
    : popupPosition(), menu(nullptr), iconData(), instance(nullptr), hiddenWindow(nullptr),
      notificationTarget(nullptr), enabled(FALSE), hidden(TRUE), removed(TRUE), reAddPending(FALSE),
      balloonsSupported(TRUE), defaultMenuItem(0), defaultByPosition(TRUE), creationFlags(0) {
    instancePointer = this;
}
CSystemTray::~CSystemTray() { RemoveFromTray(); }
LRESULT CSystemTray::HandleNotification(WPARAM, LPARAM) { return 0; }
void CSystemTray::AdjustPopupMenu(HMENU) {}
BOOL CSystemTray::Install(HINSTANCE module, HWND parent, UINT callbackMessage, const char* tooltip,
                          HICON icon, UINT iconId, BOOL, const char*, const char*, DWORD, UINT) {
    instance = module;
    menu = LoadMenuA(module, MAKEINTRESOURCEA(iconId));
    iconData.cbSize = sizeof iconData;
    iconData.hWnd = parent;
    iconData.uID = iconId;
    iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    iconData.uCallbackMessage = callbackMessage;
    iconData.hIcon = icon;
    lstrcpynA(iconData.szTip, tooltip, sizeof iconData.szTip);
    enabled = TRUE;
    removed = hidden = !ShellNotifyIcon(NIM_ADD, &iconData);
    return !removed;
}
BOOL CSystemTray::RemoveFromTray() {
    if (!enabled || removed)
        return TRUE;
    iconData.uFlags = 0;
    if (ShellNotifyIcon(NIM_DELETE, &iconData))
        removed = hidden = TRUE;
    return removed;
}
BOOL CSystemTray::SetTrayIcon(UINT) { return TRUE; }
BOOL CSystemTray::SetTrayIcon(HICON) { return TRUE; }
BOOL CSystemTray::SetTrayTooltip(const char*) { return TRUE; }
BOOL CSystemTray::ShowTrayBalloon(const char*, const char*, DWORD, UINT) { return TRUE; }
void CSystemTray::ReAddIcon() {}
LRESULT CALLBACK CSystemTray::TrayWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
void CSystemTray::RegisterTrayWindowClass(HINSTANCE) {}
