// The touch shield: a nearly transparent topmost cover over the whole screen
// that swallows taps and clicks, and the padlock above it that asks to unlock.
#include "cover_windows.h"
#include "../app/app_state.h"
#include "../app/gdi_handles.h"
#include "../app/main_window.h"
#include "../res/color_key.h"
#include "../res/resource.h"
#include "../settings/unlock_prompt.h"

static void RegisterShieldClass(HINSTANCE instance, const char* name, WNDPROC procedure);
static void BlitUnlockImage(HWND window);
static int CoverWidth();
static int CoverHeight();

HWND CoverWindow = nullptr;
HWND UnlockImageWindow = nullptr;
static OwnedBitmap UnlockBitmap;
static OwnedMemoryDC UnlockBitmapDC;
int UnlockBitmapWidth = 0;
int UnlockBitmapHeight = 0;
int UnlockImageX = 0;
int UnlockImageY = 0;

void RegisterCoverClass(HINSTANCE instance) {
    RegisterShieldClass(instance, "Cover", CoverWindowProc);
}

void RegisterUnlockImageClass(HINSTANCE instance) {
    RegisterShieldClass(instance, "UnlockImage", MainWindowProc);
}

static void RegisterShieldClass(HINSTANCE instance, const char* name, WNDPROC procedure) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOWFRAME + 1);
    windowClass.lpszClassName = name;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MORROWBY));
    RegisterClassExA(&windowClass);
}

HWND CreateCoverWindows(HINSTANCE instance) {
    // A second engagement without a release in between must not strand the
    // first cover or its bitmap.
    DestroyCoverWindows();
    const int width = CoverWidth();
    const int height = CoverHeight();
    LoadUnlockBitmap(MainWindow, instance);
    UnlockImageX = width - UnlockBitmapWidth - UnlockImageRightMargin;
    UnlockImageY = height - UnlockBitmapHeight - UnlockImageBottomMargin;

    CoverWindow = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "Cover", nullptr, WS_POPUP, 0,
                                  0, width, height, MainWindow, nullptr, instance, nullptr);
    SetLayeredWindowAttributes(CoverWindow, ArtworkColorKey, CoverAlpha, LWA_ALPHA);
    SetWindowPos(CoverWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(CoverWindow);
    ShowWindow(CoverWindow, SW_SHOW);

    // WS_CHILD together with WS_POPUP makes a top-level window owned by the
    // cover: it stays above the cover and goes with it.
    UnlockImageWindow =
        CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "UnlockImage", "Cover Icon",
                        WS_POPUP | WS_CHILD, UnlockImageX, UnlockImageY, UnlockBitmapWidth,
                        UnlockBitmapHeight, CoverWindow, nullptr, instance, nullptr);
    SetLayeredWindowAttributes(UnlockImageWindow, ArtworkColorKey, 255, LWA_COLORKEY);
    SetWindowPos(UnlockImageWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(UnlockImageWindow);
    ShowWindow(UnlockImageWindow, SW_SHOW);
    DrawUnlockImage(UnlockImageWindow);
    return UnlockImageWindow;
}

void DestroyCoverWindows() {
    if (CoverWindow) {
        DestroyWindow(CoverWindow); // takes the padlock, which it owns, along
        CoverWindow = nullptr;
    }
    if (UnlockImageWindow) {
        if (IsWindow(UnlockImageWindow))
            DestroyWindow(UnlockImageWindow);
        UnlockImageWindow = nullptr;
    }
    UnlockBitmapDC.Reset(nullptr);
    UnlockBitmap.Reset(nullptr);
}

bool UnlockBitmapLoaded() {
    return UnlockBitmap.Get() != nullptr || UnlockBitmapDC.Get() != nullptr;
}

void LoadUnlockBitmap(HWND window, HINSTANCE instance) {
    {
        WindowDC screen(window);
        UnlockBitmapDC.Reset(CreateCompatibleDC(screen.Get()));
    }
    UnlockBitmap.Reset(LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_PADLOCK)));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    UnlockBitmapWidth = 0;
    UnlockBitmapHeight = 0;
    if (UnlockBitmap.Get() &&
        GetDIBits(UnlockBitmapDC.Get(), UnlockBitmap.Get(), 0, 0, nullptr, &info, DIB_RGB_COLORS)) {
        UnlockBitmapWidth = info.bmiHeader.biWidth;
        // A bottom-up bitmap reports a positive height, a top-down one a negative.
        UnlockBitmapHeight =
            info.bmiHeader.biHeight < 0 ? -info.bmiHeader.biHeight : info.bmiHeader.biHeight;
    }
}

void DrawUnlockImage(HWND window) {
    BlitUnlockImage(window);
}

void PaintUnlockImage(HWND window) {
    BlitUnlockImage(window);
}

static void BlitUnlockImage(HWND window) {
    PaintDC paint(window);
    if (!UnlockBitmapDC.Get() || !UnlockBitmap.Get())
        return;
    SelectedObject selected(UnlockBitmapDC.Get(), UnlockBitmap.Get());
    BitBlt(paint.Get(), 0, 0, UnlockBitmapWidth, UnlockBitmapHeight, UnlockBitmapDC.Get(), 0, 0,
           SRCCOPY);
}

void FitCoverToDisplay(bool landscape) {
    const int width = CoverWidth();
    const int height = CoverHeight();
    // In portrait the corner is taken crosswise, as the system reports the
    // maximized size of the turned screen.
    PointerCornerX = landscape ? width : height;
    PointerCornerY = landscape ? height : width;
    if (!CoverWindow)
        return;
    SetWindowPos(CoverWindow, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RaiseCover(true);
}

void RaiseCover(bool takeForeground) {
    if (!CoverWindow || UnlockDialogOpen())
        return;
    SetWindowPos(CoverWindow, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | (takeForeground ? 0 : SWP_NOACTIVATE));
    if (takeForeground)
        SetForegroundWindow(CoverWindow);
    ShowWindow(CoverWindow, SW_SHOW);
}

LRESULT ShieldMouseActivation() {
    // Activation lifts a window to the top of its band: a tap on the shield
    // would bury the prompt or the box and take their keys.
    return UnlockDialogOpen() ? MA_NOACTIVATE : MA_ACTIVATE;
}

void CALLBACK ReassertCover(HWND, UINT, UINT_PTR, DWORD) {
    // Raising must not take the foreground: the video stays the active window.
    RaiseCover(false);
}

LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The cover ends only with the lock: a close request (Alt+F4 while the
    // keyboard is free) would otherwise take the shield away.
    if (message == WM_CLOSE)
        return 0;
    if (message == WM_MOUSEACTIVATE)
        return ShieldMouseActivation();
    return DefWindowProcA(window, message, wParam, lParam);
}

static int CoverWidth() {
    return GetSystemMetrics(SM_CXMAXIMIZED);
}

static int CoverHeight() {
    return GetSystemMetrics(SM_CYMAXIMIZED) + CoverExtraHeight;
}
