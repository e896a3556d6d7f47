#include "mouse_region.h"
#include "../win/system_tray.h"

MouseRegion PointerRegion;

MouseRegion::MouseRegion()
    : corner({GetSystemMetrics(SM_CXMAXIMIZED) - 170, GetSystemMetrics(SM_CYMAXIMIZED) - 120}),
      trayIcon(), reachedTray(nullptr) {}

void MouseRegion::Refresh(const ShieldLayout& layout) {
    trayIcon = ReadTrayIconRect(reachedTray);
    MonitorArea monitors[MostMonitors];
    const int count = ListMonitors(monitors, MostMonitors);
    const WayOut wayOut = {layout.Padlock, trayIcon, DpiOfArea(monitors, count, trayIcon),
                           layout.VirtualScreen};
    corner = PointerCornerFor(wayOut, layout.PrimaryDpi);
}

RECT ReadTrayIconRect(const CSystemTray* tray) {
    RECT area = {};
    if (tray && tray->GetIconRect(&area))
        return area;
    // Before Windows 7, or a shell that does not say: the whole notification
    // area, which holds the icon wherever the shell put it.
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    HWND notificationArea =
        taskbar ? FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
    if (!notificationArea || !GetWindowRect(notificationArea, &area))
        SetRectEmpty(&area);
    return area;
}
