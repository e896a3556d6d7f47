#include "z_order.h"

bool Above(HWND a, HWND b) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == a)
            return true;
        if (window == b)
            return false;
    }
    return false;
}
