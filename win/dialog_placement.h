// Placement shared by the settings dialog and the unlock word prompt.
#pragma once
#include <windows.h>

// Centres a dialog on the primary screen after a display change, keeping its
// size and place in the Z order, and makes it the active window again.
void CentreOnPrimaryScreen(HWND dialog);
