// Top-level windows of the test's own that play the part of a browser showing
// YouTube: their titles change with SetWindowTextA and they record WM_CLOSE.
#pragma once
#include <windows.h>
#include <string>

// A shown, non-topmost window at the top of its band, with the given title.
HWND CreateVideoWindow(const std::string& title);
// The same with a title in any script.
HWND CreateVideoWindow(const std::wstring& title);
// How many WM_CLOSE messages the window has received (they do not destroy it).
int CloseRequests(HWND window);
// A topmost window with no title that sits at the very top of the Z-order,
// where the scan never looks.
HWND CreateTopGuardWindow();
// Destroys every window made here and forgets their WM_CLOSE counts.
void DestroyTestWindows();
