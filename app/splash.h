// The shaped splash window: artwork, version lines and one status line.
#pragma once
#include <windows.h>

// Shows the splash (creating it on first use) with the given status line.
// closeDelay in milliseconds closes it by itself; 0 keeps it until CloseSplash.
void ShowSplashStatus(HWND parent, const wchar_t* status, int closeDelay);
void CloseSplash();
