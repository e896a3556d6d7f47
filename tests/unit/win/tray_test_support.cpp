#include "tray_test_support.h"
#include "app/main_window.h"
#include "res/resource.h"

HWND CreateTrayOwnerWindow() {
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TrayTestOwner";
        atom = RegisterClassExA(&windowClass);
    }
    return CreateWindowExA(WS_EX_TOOLWINDOW, "TrayTestOwner", "tray test owner", WS_POPUP, 0, 0, 10,
                           10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

BOOL InstallLikeStartup(CSystemTray& tray, HWND parent, const wchar_t* tooltip, BOOL hidden,
                        const wchar_t* balloonText, const wchar_t* balloonTitle) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(IDI_MORROWBY));
    return tray.Install(module, parent, TrayCallbackMessage, tooltip, icon, IDR_TRAYMENU, hidden,
                        balloonText, balloonTitle, 0, 10);
}

static OpenedPopup* watched = nullptr;
static HWND popupOwner = nullptr;
static int ticks = 0;

static void CALLBACK WatchForPopup(HWND, UINT, UINT_PTR, DWORD) {
    ticks++;
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (menuWindow && IsWindowVisible(menuWindow) && !watched->seen) {
        watched->seen = true;
        GetWindowRect(menuWindow, &watched->rect);
        watched->menu = (HMENU)SendMessageA(menuWindow, MN_GETHMENU, 0, 0);
        if (watched->menu)
            watched->defaultItem = (int)GetMenuDefaultItem(watched->menu, TRUE, 0);
    }
    // Dismissing from the start (and again and again) means a menu that
    // should not have opened cannot keep the test waiting either.
    if (watched->seen || ticks > 20) {
        PostMessageA(popupOwner, WM_CANCELMODE, 0, 0);
        if (ticks > 60)
            EndMenu();
    }
}

OpenedPopup NotifyAndWatchForPopup(CSystemTray& tray, HWND owner, WPARAM wParam, LPARAM lParam,
                                   LRESULT* result) {
    OpenedPopup popup;
    watched = &popup;
    popupOwner = owner;
    ticks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, WatchForPopup);
    *result = tray.HandleNotification(wParam, lParam);
    KillTimer(nullptr, timer);
    // Let the WM_NULL and the cancel messages go by.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    watched = nullptr;
    return popup;
}
