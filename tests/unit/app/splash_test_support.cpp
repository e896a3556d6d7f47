#include "splash_test_support.h"
#include "app/splash.h"
#include "support/wait.h"

HWND FindOwnSplash() {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "SplashScreen", nullptr))) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

static LRESULT CALLBACK BackdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush((COLORREF)GetWindowLongPtrA(window, GWLP_USERDATA));
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateBackdropWindow(COLORREF color, const RECT& area) {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = BackdropProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SplashTestBackdrop";
        atom = RegisterClassExA(&windowClass);
    }
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "SplashTestBackdrop", "", WS_POPUP, area.left,
                                  area.top, area.right - area.left, area.bottom - area.top, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, (LONG_PTR)color);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return window;
}

void CloseSplashAndSettle() {
    CloseSplash();
    PumpMessagesFor(20);
}
