// Helpers for the tray tests: a window to own the icon, installing a tray the
// way start-up does, and watching the popup menu.
#pragma once
#include "win/system_tray.h"
#include <vector>

// A plain top-level window that receives the tray's callbacks and commands.
HWND CreateTrayOwnerWindow();

// Installs with the program's own arguments: icon 129, menu/id 143, 10 s.
BOOL InstallLikeStartup(CSystemTray& tray, HWND parent, const wchar_t* tooltip, BOOL hidden = FALSE,
                        const wchar_t* balloonText = nullptr,
                        const wchar_t* balloonTitle = nullptr);

// What a popup menu looked like while it was open.
struct OpenedPopup {
    bool seen = false;
    RECT rect = {};
    HMENU menu = nullptr;
    int defaultItem = -1;
};
// Calls HandleNotification while a timer watches for a popup menu, notes it
// and closes it, so the call returns whatever the tray does.
OpenedPopup NotifyAndWatchForPopup(CSystemTray& tray, HWND owner, WPARAM wParam, LPARAM lParam,
                                   LRESULT* result);
