// Brings up the program's shell inside a test process: resource texts, window
// classes, the hidden main window and the tray (recorded, not sent to the
// shell), with the settings kept under a test key instead of the product's.
#pragma once
#include <windows.h>

// HKEY_CURRENT_USER path of the settings while testing in-process.
extern const char* const TestSettingsKeyPath;
// Beside it, the viewing-time limit's key (LimitsKeyPath while the above is set).
extern const char* const TestLimitsKeyPath;

// Deletes the test settings key, points the settings store at it, loads the
// texts and creates the main window and tray icon. Returns the main window.
// shellAnswer is what the recorded shell answers (FALSE: no taskbar yet).
HWND StartInProcessApp(BOOL shellAnswer = TRUE);
// Releases any lock, closes a splash, destroys the main window, removes the
// WM_QUIT it posts and puts back the pointer corner a display change moved.
void StopInProcessApp();
// Deletes HKEY_CURRENT_USER\<path> with everything below it.
void DeleteRegistryTree(const char* path);
