#include "mouse_region.h"
#include "../win/system_tray.h"

MouseRegion PointerRegion;

MouseRegion::MouseRegion()
    : corner({GetSystemMetrics(SM_CXMAXIMIZED) - 170, GetSystemMetrics(SM_CYMAXIMIZED) - 120}),
      trayIcon() {}

void MouseRegion::RefreshTrayIcon(const CSystemTray& tray) {
    RECT icon = {};
    if (!tray.GetIconRect(&icon))
        SetRectEmpty(&icon);
    trayIcon = icon;
}
