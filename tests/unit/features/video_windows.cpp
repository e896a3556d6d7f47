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
    return DefWindowProcW(window, message, wParam, lParam);
}

// A Unicode window, as a browser's is: its title holds any script.
static const wchar_t* VideoWindowClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = VideoWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VideoCounterTestWindow";
        RegisterClassW(&windowClass);
        registered = true;
    }
    return L"VideoCounterTestWindow";
}

static HWND Keep(HWND window) {
    created.push_back(window);
    return window;
}

HWND CreateVideoWindow(const std::wstring& title) {
    HWND window = CreateWindowExW(0, VideoWindowClass(), title.c_str(), WS_POPUP, 100, 100, 300,
                                  200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return Keep(window);
}

HWND CreateVideoWindow(const std::string& title) {
    HWND window = CreateVideoWindow(std::wstring());
    SetWindowTextA(window, title.c_str());
    return window;
}

int CloseRequests(HWND window) {
    auto found = closeRequests.find(window);
    return found == closeRequests.end() ? 0 : found->second;
}

HWND CreateTopGuardWindow() {
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, VideoWindowClass(), L"", WS_POPUP, 0, 0,
                        10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
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
