#include "dialog_placement.h"

void CentreOnPrimaryScreen(HWND dialog) {
    RECT frame = {};
    GetWindowRect(dialog, &frame);
    const int x = (GetSystemMetrics(SM_CXSCREEN) + frame.left - frame.right) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) + frame.top - frame.bottom) / 2;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetActiveWindow(dialog);
}
