// Start-up sequence, message loop and shutdown order of the program.
#pragma once
#include <windows.h>

// Body of WinMain: everything from loading the resource strings to the end of
// the message loop. Returns the process exit code.
int RunMorrowby(HINSTANCE instance);

// Loads the eight resource texts into their buffers, in the fixed order.
void LoadResourceTexts(HINSTANCE instance);
// Creates the hidden main window and adds the tray icon; false if either failed.
bool CreateMainWindow(HINSTANCE instance);
// Main message loop with the padlock and accelerator rules; returns WM_QUIT's wParam.
int RunMessageLoop(HACCEL accelerators);
// Routes one message the way the main loop does; true when it was consumed
// (padlock button messages, accelerators). Exposed for tests.
bool PreTranslateLoopMessage(MSG* message, HACCEL accelerators);
