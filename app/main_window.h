// The hidden main window: tray callbacks, menu commands, system notifications.
#pragma once
#include <windows.h>

const UINT_PTR BlueLightReapplyTimerId = 337;
const UINT BlueLightReapplyDelay = 5000;

void RegisterMainWindowClass(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Flips BlueLightMenuState and rewrites tray item 32781 to match; callers set
// the opposite of what they want shown first.
void ToggleBlueLightMenuItem();
// Sets the blue light item from the settings: "Disable ..." in mode Always,
// "Enable ..." in mode Menu, grayed otherwise. Writes no ramp.
void DeriveBlueLightMenuItem();
void CALLBACK BlueLightReapplyTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
