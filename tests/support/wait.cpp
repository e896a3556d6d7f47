#include "wait.h"

static void PumpOnce(DWORD waitMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            continue; // a test's main window ending must not end later loops
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void PumpMessagesFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        DWORD elapsed = GetTickCount() - start;
        PumpOnce(elapsed >= ms ? 0 : (ms - elapsed < 10 ? ms - elapsed : 10));
    } while (GetTickCount() - start < ms);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        PumpOnce(10);
    }
    return true;
}
