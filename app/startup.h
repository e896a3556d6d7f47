// Start-up sequence, message loop and shutdown order of the program.
#pragma once
#include <windows.h>

// Body of WinMain: everything from loading the resource strings to the end of
// the message loop. Returns the process exit code.
int RunMorrowby(HINSTANCE instance);

// Every pause of start-up (the splash lines, the notes that another copy runs
// or that the settings cannot be read) goes through this pointer (Sleep), so
// a test can count the pauses instead of sitting through them.
typedef VOID(WINAPI* PauseFunction)(DWORD milliseconds);
extern PauseFunction StartupPause;

// Creates the hidden main window and adds the tray icon; false only when the
// window could not be created. An icon the shell refused (at sign-in the
// program may start before the taskbar) is added when the taskbar comes.
bool CreateMainWindow(HINSTANCE instance);
// Timer TrayRetryTimerId, every 2 s: stops once the icon is in; after two
// minutes without a taskbar it releases the lock and ends the program, which
// cannot be reached without its icon.
void CALLBACK RetryTrayIcon(HWND window, UINT message, UINT_PTR id, DWORD time);
// Main message loop with the padlock and accelerator rules; returns WM_QUIT's wParam.
int RunMessageLoop(HACCEL accelerators);
// Routes one message the way the main loop does; true when it was consumed
// (padlock button messages, accelerators). Exposed for tests.
bool PreTranslateLoopMessage(MSG* message, HACCEL accelerators);
