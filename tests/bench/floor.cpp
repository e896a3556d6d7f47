// The floor for the measured budgets: one hidden window and a message loop,
// nothing else. With --windows N it also holds N hidden top-level windows;
// with --video it shows a window titled like a video page that hangs for five
// seconds when asked to close, as a browser asking "leave this page?" would.
#include <windows.h>
#include <cstdlib>
#include <cstring>

static LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static LRESULT CALLBACK VideoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        Sleep(5000);
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static HWND MakeWindow(HINSTANCE instance, const char* className, WNDPROC procedure,
                       const char* title, DWORD style) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, title, style, 100, 100, 400, 300, nullptr, nullptr,
                           instance, nullptr);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    MakeWindow(instance, "MorrowbyBenchFloor", FloorWindowProc, "Floor", WS_POPUP);
    const char* windows = strstr(commandLine, "--windows ");
    if (windows) {
        int count = atoi(windows + 10);
        for (int i = 0; i < count; i++)
            MakeWindow(instance, "MorrowbyBenchFiller", DefWindowProcA, "Filler window", WS_POPUP);
    }
    if (strstr(commandLine, "--video")) {
        HWND video = MakeWindow(instance, "MorrowbyBenchVideo", VideoWindowProc, "Song A - YouTube",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        SetForegroundWindow(video);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
