#include "video_windows.h"
#include <map>
#include <vector>

static std::map<HWND, int> closeRequests;
static std::vector<HWND> created;

static LRESULT CALLBACK VideoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        closeRequests[window]++;
        return 0; // a browser that stays open keeps the test's window alive
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static const char* VideoWindowClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = VideoWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VideoCounterTestWindow";
        RegisterClassA(&windowClass);
        registered = true;
    }
    return "VideoCounterTestWindow";
}

static HWND Keep(HWND window) {
    created.push_back(window);
    return window;
}

HWND CreateVideoWindow(const std::string& title) {
    HWND window = CreateWindowExA(0, VideoWindowClass(), title.c_str(), WS_POPUP, 100, 100, 300,
                                  200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return Keep(window);
}

int CloseRequests(HWND window) {
    auto found = closeRequests.find(window);
    return found == closeRequests.end() ? 0 : found->second;
}

HWND CreateTopGuardWindow() {
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, VideoWindowClass(), "", WS_POPUP, 0, 0,
                        10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return Keep(window);
}

void DestroyTestWindows() {
    for (HWND window : created)
        DestroyWindow(window);
    created.clear();
    closeRequests.clear();
}
