// The z-order of top-level windows, as a user sees which window lies on top.
#pragma once
#include <windows.h>

// True when a comes before b in the walk of top-level windows from the top.
bool Above(HWND a, HWND b);
