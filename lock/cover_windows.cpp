// The touch shield: a nearly transparent topmost cover over each whole monitor
// that swallows taps and clicks, and the padlock above the primary monitor's
// cover that asks to unlock.
#include "cover_windows.h"
#include "../app/app_state.h"
#include "../app/gdi_handles.h"
#include "../app/main_window.h"
#include "../res/color_key.h"
#include "../res/resource.h"
#include "../settings/unlock_prompt.h"

static void RegisterShieldClass(HINSTANCE instance, const char* name, WNDPROC procedure);
static void BlitUnlockImage(HWND window);
static ShieldLayout CurrentShieldLayout();
static void KeepPadlockInMouseRegion(const ShieldLayout& layout);
static HWND CreateCover(HINSTANCE instance, const RECT& area);
static HWND CreateOtherCover(HINSTANCE instance, const RECT& area);
static void RaiseWithoutActivating(HWND window);
static void PlaceWindow(HWND window, const RECT& area, UINT flags);
static int CoverWidth();
static int CoverHeight();

HWND CoverWindow = nullptr;
HWND UnlockImageWindow = nullptr;
static OwnedBitmap UnlockBitmap;
static OwnedMemoryDC UnlockBitmapDC;
HWND OtherCoverWindows[MostMonitors] = {};
int OtherCoverCount = 0;
// True once the video limit made the covers opaque, until they go.
static bool CoversOpaque = false;
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
    // first covers or the bitmap.
    DestroyCoverWindows();
    CoversOpaque = false;
    LoadUnlockBitmap(MainWindow, instance);
    const ShieldLayout layout = CurrentShieldLayout();
    UnlockImageX = layout.Padlock.left;
    UnlockImageY = layout.Padlock.top;
    KeepPadlockInMouseRegion(layout);

    // The other monitors' covers come first, so that the primary cover and its
    // padlock lie above them wherever covers overlap (mirrored displays).
    for (int i = 1; i < layout.CoverCount; i++)
        OtherCoverWindows[OtherCoverCount++] = CreateOtherCover(instance, layout.Covers[i]);

    const RECT& area = layout.Covers[0];
    CoverWindow = CreateCover(instance, area);
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
    while (OtherCoverCount > 0) {
        DestroyWindow(OtherCoverWindows[--OtherCoverCount]);
        OtherCoverWindows[OtherCoverCount] = nullptr;
    }
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

void FitCoverToDisplay() {
    const ShieldLayout layout = CurrentShieldLayout();
    // The maximized size read now already describes a turned screen, so the
    // corner is taken as it comes in either orientation.
    PointerCornerX = CoverWidth();
    PointerCornerY = CoverHeight();
    KeepPadlockInMouseRegion(layout);
    if (!CoverWindow)
        return;

    // A monitor plugged in while locked gets its cover; one taken away loses it.
    bool added = false;
    while (OtherCoverCount > layout.CoverCount - 1) {
        DestroyWindow(OtherCoverWindows[--OtherCoverCount]);
        OtherCoverWindows[OtherCoverCount] = nullptr;
    }
    while (OtherCoverCount < layout.CoverCount - 1) {
        OtherCoverWindows[OtherCoverCount] =
            CreateOtherCover(AppInstance, layout.Covers[OtherCoverCount + 1]);
        OtherCoverCount++;
        added = true;
    }
    const bool dialogOpen = UnlockDialogOpen();
    // Resize only while the prompt or its box is open: raising a cover now
    // would hide it.
    const UINT zOrder = dialogOpen ? SWP_NOZORDER | SWP_NOACTIVATE : 0;
    for (int i = 0; i < OtherCoverCount; i++)
        PlaceWindow(OtherCoverWindows[i], layout.Covers[i + 1], zOrder | SWP_NOACTIVATE);
    PlaceWindow(CoverWindow, layout.Covers[0], zOrder);
    UnlockImageX = layout.Padlock.left;
    UnlockImageY = layout.Padlock.top;
    SetWindowPos(UnlockImageWindow, nullptr, UnlockImageX, UnlockImageY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (dialogOpen) {
        // A new cover came up over the open prompt or box; put it back on top.
        if (added)
            BringUnlockDialogToFront();
        return;
    }
    RaiseCover(true);
}

void MakeCoversOpaque() {
    if (!CoverWindow)
        return;
    // A cover added for a monitor plugged in later is made opaque as well.
    CoversOpaque = true;
    for (int i = 0; i < OtherCoverCount; i++)
        SetLayeredWindowAttributes(OtherCoverWindows[i], ArtworkColorKey, 255, LWA_ALPHA);
    SetLayeredWindowAttributes(CoverWindow, ArtworkColorKey, 255, LWA_ALPHA);
    RaiseCover(true);
}

void RaiseCover(bool takeForeground) {
    if (!CoverWindow || UnlockDialogOpen())
        return;
    // The primary cover goes last, to stay above the others with its padlock.
    for (int i = 0; i < OtherCoverCount; i++)
        RaiseWithoutActivating(OtherCoverWindows[i]);
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

static ShieldLayout CurrentShieldLayout() {
    MonitorArea monitors[MostMonitors];
    const int count = ListMonitors(monitors, MostMonitors);
    const RECT designCover = {0, 0, CoverWidth(), CoverHeight()};
    return LayOutShield(monitors, count, designCover, {UnlockBitmapWidth, UnlockBitmapHeight});
}

static void KeepPadlockInMouseRegion(const ShieldLayout& layout) {
    const POINT corner = FitPointerCorner({PointerCornerX, PointerCornerY}, layout);
    PointerCornerX = corner.x;
    PointerCornerY = corner.y;
}

// A cover not yet shown: layered, nearly transparent (opaque past the video limit).
static HWND CreateCover(HINSTANCE instance, const RECT& area) {
    HWND cover = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "Cover", nullptr, WS_POPUP,
                                 area.left, area.top, area.right - area.left,
                                 area.bottom - area.top, MainWindow, nullptr, instance, nullptr);
    SetLayeredWindowAttributes(cover, ArtworkColorKey, CoversOpaque ? 255 : CoverAlpha, LWA_ALPHA);
    return cover;
}

// The cover of a monitor other than the primary: shown topmost without taking
// the foreground from the primary cover.
static HWND CreateOtherCover(HINSTANCE instance, const RECT& area) {
    HWND cover = CreateCover(instance, area);
    RaiseWithoutActivating(cover);
    return cover;
}

static void RaiseWithoutActivating(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNA);
}

static void PlaceWindow(HWND window, const RECT& area, UINT flags) {
    SetWindowPos(window, HWND_TOPMOST, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, flags);
}

static int CoverWidth() {
    return GetSystemMetrics(SM_CXMAXIMIZED);
}

static int CoverHeight() {
    return GetSystemMetrics(SM_CYMAXIMIZED) + CoverExtraHeight;
}
