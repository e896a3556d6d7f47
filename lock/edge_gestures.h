// The edge swipes of a touch screen (from the left: task view; from the
// right: the action centre) would open the system's panels over the shield.
#pragma once
#include <windows.h>

// Sets or clears the window's "disable touch when full screen" property.
// E_NOTIMPL where shell32 has no property store for windows (before Windows 7).
HRESULT DisableEdgeGestures(HWND window, bool disable);
