// The hidden main window: tray callbacks, menu commands, system notifications.
#pragma once
#include "tray_icon.h"
#include "../win/owner.h"
#include <windows.h>

const UINT BlueLightReapplyDelay = 5000;

// The hidden main window; none after Exit.
extern OwnedWindow MainWindow;

void RegisterMainWindowClass(HINSTANCE instance);
// Tells the blue light and the lock which window their timers run on, and
// gives the lock the tray and the texts it shows. With no window, once the
// main window has gone, they hold none.
void AttachMainWindow(HWND window, HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void CALLBACK BlueLightReapplyTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
