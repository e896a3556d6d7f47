// Process-wide handles, texts and flags of the application shell. Everything
// runs on the one user-interface thread, so these are plain variables.
#pragma once
#include "../res/version.h"
#include <windows.h>

class CSystemTray;

// The shell reports tray icon clicks to the main window with this message.
const UINT TrayCallbackMessage = WM_APP + 10;
// Size of each resource text buffer; LoadStringA keeps at most 99 characters.
const int ResourceTextSize = 100;
// The maker's name, the first part of the settings key path.
const char* const MakerName = MORROWBY_MAKER_NAME;

// Set during static initialisation, before WinMain (see process_objects.cpp).
extern UINT TaskbarCreatedMessage;
extern CSystemTray Tray;
extern int PointerCornerX; // right edge of the mouse region's corner, moved by display changes
extern int PointerCornerY;

extern HINSTANCE AppInstance;
extern HWND MainWindow; // the hidden main window; none after Exit

extern char AppTitle[ResourceTextSize];        // 103 "Morrowby"
extern char MainClassName[ResourceTextSize];   // 109 "MORROWBY"
extern char UnlockItemText[ResourceTextSize];  // 107
extern char LockItemText[ResourceTextSize];    // 111
extern char UnlockTipText[ResourceTextSize];   // 133
extern char LockTipText[ResourceTextSize];     // 132
extern char EnableBlueText[ResourceTextSize];  // 105
extern char DisableBlueText[ResourceTextSize]; // 106

// True while the tray menu's blue light item reads "Disable Blue Light Reduction".
extern bool BlueLightMenuState;
