// Shared by the splash window tests.
#pragma once
#include <windows.h>

// The splash window of this process, or none.
HWND FindOwnSplash();
// A visible top-level window filled with one colour, to stand behind the splash.
HWND CreateBackdropWindow(COLORREF color, const RECT& area);
// Destroys the splash and lets its messages go by, so every test starts clean.
void CloseSplashAndSettle();
