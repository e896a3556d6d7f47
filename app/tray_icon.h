// The program's one tray icon; its menu is the tray menu whose items the
// program rewrites.
#pragma once
#include "../win/system_tray.h"

// The shell reports taps on the icon to the main window with this message.
const UINT TrayCallbackMessage = WM_APP + 10;

extern CSystemTray Tray;
