// Placeholder until the cover and padlock windows land.
#include "cover_windows.h"

void RegisterCoverClass(HINSTANCE) {}
void RegisterUnlockImageClass(HINSTANCE) {}
HWND CreateCoverWindows(HINSTANCE) { return nullptr; }
void PaintUnlockImage(HWND window) { ValidateRect(window, nullptr); }
void FitCoverToDisplay(bool) {}
void CALLBACK ReassertCover(HWND, UINT, UINT_PTR, DWORD) {}
LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
