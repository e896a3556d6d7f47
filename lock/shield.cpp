// The touch shield: a nearly transparent topmost cover over each whole monitor
// that swallows taps and clicks, and the padlock above the primary monitor's
// cover that asks to unlock.
#include "shield.h"
#include "edge_gestures.h"
#include "mouse_region.h"
#include "unlock_prompt.h"
#include "../res/color_key.h"
#include "../res/resource.h"
#include "../win/accessibility.h"
#include "../win/dpi.h"
#include "../win/gdi.h"
#include "../win/os_version.h"
#include "../win/string_table.h"

static void RegisterShieldClass(HINSTANCE instance, const char* name, WNDPROC procedure);
static void RaiseWithoutActivating(HWND window);
static void ShowAgainIfTakenAway(HWND window);
static void PlaceWindow(HWND window, const RECT& area, UINT flags);
static int ListedPrimaryDpi();
static int CoverWidth();
static int CoverHeight(int dpi);

TouchShield Shield;

void RegisterCoverClass(HINSTANCE instance) {
    RegisterShieldClass(instance, "Cover", CoverWindowProc);
}

void RegisterUnlockImageClass(HINSTANCE instance, WNDPROC procedure) {
    RegisterShieldClass(instance, "UnlockImage", procedure);
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

TouchShield::TouchShield()
    : others(), otherCount(0), cover(), padlock(), bitmap(), bitmapDC(), moonImage(),
      moonShown(false), bitmapSize(), bitmapDpi(0), padlockAt(), opaque(false), owner(nullptr),
      instance(nullptr) {}

HWND TouchShield::CreateCoverWindows(HWND ownerWindow, HINSTANCE module) {
    // A second engagement without a release in between must not strand the
    // first covers or the bitmap.
    DestroyCoverWindows();
    owner = ownerWindow;
    instance = module;
    opaque = false;
    LoadUnlockBitmap();
    const ShieldLayout layout = Layout();
    padlockAt = {layout.Padlock.left, layout.Padlock.top};
    PointerRegion.Refresh(layout);

    // The other monitors' covers come first, so that the primary cover and its
    // padlock lie above them wherever covers overlap (mirrored displays).
    for (int i = 1; i < layout.CoverCount; i++)
        others[otherCount++].Reset(CreateOtherCover(layout.Covers[i]));

    cover.Reset(CreateCover(layout.Covers[0]));
    SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(cover);
    ShowWindow(cover, SW_SHOW);

    // WS_CHILD together with WS_POPUP makes a top-level window owned by the
    // cover: it stays above the cover and goes with it.
    padlock.Reset(CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "UnlockImage", "Cover Icon",
                                  WS_POPUP | WS_CHILD, padlockAt.x, padlockAt.y, bitmapSize.cx,
                                  bitmapSize.cy, cover, nullptr, instance, nullptr));
    SetLayeredWindowAttributes(padlock, ArtworkColorKey, 255, LWA_COLORKEY);
    // The cover stays the foreground window: the edge swipes are turned off
    // only for the full-screen window in front, not for the padlock.
    RaiseWithoutActivating(padlock);
    ShowMoon(moonShown);
    PaintUnlockImage(padlock);
    // A screen reader announces the padlock by what it does, in the user's
    // language; its title stays as it is. Named once it is up: the service
    // may take a moment to load.
    Accessibility.AnnotateName(padlock, LoadText(IDS_PADLOCK_NAME).c_str());
    DisableEdgeGesturesOnCovers();
    return padlock;
}

void TouchShield::DestroyCoverWindows() {
    while (otherCount > 0)
        others[--otherCount].Reset();
    // The annotation goes while the window is still there to name.
    if (padlock)
        Accessibility.AnnotateName(padlock, nullptr);
    cover.Reset(); // takes the padlock, which it owns, along
    padlock.Reset();
    bitmapDC.Reset();
    bitmap = ImageBitmap();
    moonImage = ImageBitmap();
}

// Drawn for the primary monitor's scale, where the padlock stays.
void TouchShield::LoadUnlockBitmap() {
    {
        WindowDC screen = BorrowWindowDC(owner);
        bitmapDC.Reset(CreateCompatibleDC(screen));
    }
    bitmapDpi = ListedPrimaryDpi();
    bitmap = LoadArtwork(instance, Artwork::Padlock, bitmapDpi);
    bitmapSize = {bitmap.Width(), bitmap.Height()};
    moonImage = ImageBitmap(); // drawn for the scale before, if at all
}

void TouchShield::PaintUnlockImage(HWND window) {
    PaintDC paint(window);
    if (!bitmapDC || !bitmap)
        return;
    const bool moon = moonShown && moonImage;
    SelectedObject selected(bitmapDC, moon ? moonImage.Get() : bitmap.Get());
    BitBlt(paint, 0, 0, bitmapSize.cx, bitmapSize.cy, bitmapDC, 0, 0, SRCCOPY);
}

void TouchShield::FitCoverToDisplay() {
    // Placing a cover on a monitor of another scale sends it WM_DPICHANGED,
    // which asks for this again: the layout being applied already holds.
    static bool fitting = false;
    if (fitting)
        return;
    struct Fitting {
        Fitting() { fitting = true; }
        ~Fitting() { fitting = false; }
    } scope;
    // The primary monitor's scale changed: the padlock is drawn anew for it.
    if (cover && ListedPrimaryDpi() != bitmapDpi) {
        LoadUnlockBitmap();
        ShowMoon(moonShown); // drawn anew as well, where it is shown
        InvalidateRect(padlock, nullptr, FALSE);
    }
    const ShieldLayout layout = Layout();
    PointerRegion.Refresh(layout);
    if (!cover)
        return;

    // A monitor plugged in while locked gets its cover; one taken away loses it.
    bool added = false;
    while (otherCount > layout.CoverCount - 1)
        others[--otherCount].Reset();
    while (otherCount < layout.CoverCount - 1) {
        others[otherCount].Reset(CreateOtherCover(layout.Covers[otherCount + 1]));
        otherCount++;
        added = true;
    }
    if (added)
        DisableEdgeGesturesOnCovers();
    const bool dialogOpen = UnlockDialogOpen();
    // Resize only while the prompt or its box is open: raising a cover now
    // would hide it.
    const UINT zOrder = dialogOpen ? SWP_NOZORDER | SWP_NOACTIVATE : 0;
    for (int i = 0; i < otherCount; i++)
        PlaceWindow(others[i], layout.Covers[i + 1], zOrder | SWP_NOACTIVATE);
    PlaceWindow(cover, layout.Covers[0], zOrder);
    padlockAt = {layout.Padlock.left, layout.Padlock.top};
    SetWindowPos(padlock, nullptr, padlockAt.x, padlockAt.y, bitmapSize.cx, bitmapSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (dialogOpen) {
        // A new cover came up over the open prompt or box; put it back on top.
        if (added)
            BringUnlockDialogToFront();
        return;
    }
    RaiseCover(true);
}

void TouchShield::MakeCoversOpaque() {
    if (!cover)
        return;
    // A cover added for a monitor plugged in later is made opaque as well.
    opaque = true;
    for (int i = 0; i < otherCount; i++)
        SetLayeredWindowAttributes(others[i], ArtworkColorKey, 255, LWA_ALPHA);
    SetLayeredWindowAttributes(cover, ArtworkColorKey, 255, LWA_ALPHA);
    RaiseCover(true);
}

void TouchShield::ShowMoon(bool moon) {
    moonShown = moon;
    if (!padlock)
        return;
    // Drawn for the scale the padlock is drawn for: the window keeps its size.
    if (moon && !moonImage)
        moonImage = LoadArtwork(instance, Artwork::Moon, bitmapDpi);
    InvalidateRect(padlock, nullptr, FALSE);
}

void TouchShield::RaiseCover(bool takeForeground) {
    if (!cover || UnlockDialogOpen())
        return;
    // Minimised or hidden from outside (a system command the covers refuse
    // cannot do it, ShowWindow from another program can).
    for (int i = 0; i < otherCount; i++)
        ShowAgainIfTakenAway(others[i]);
    ShowAgainIfTakenAway(cover);
    ShowAgainIfTakenAway(padlock);
    // The primary cover goes last, to stay above the others with its padlock.
    for (int i = 0; i < otherCount; i++)
        RaiseWithoutActivating(others[i]);
    SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | (takeForeground ? 0 : SWP_NOACTIVATE));
    if (takeForeground)
        SetForegroundWindow(cover);
    ShowWindow(cover, SW_SHOW);
}

// Windows 7 SP1 and later have the property; earlier systems have no edge
// swipes to turn off.
void TouchShield::DisableEdgeGesturesOnCovers() {
    if (!IsOsVersionAtLeast(6, 1, 1))
        return;
    if (cover)
        DisableEdgeGestures(cover, true);
    if (padlock)
        DisableEdgeGestures(padlock, true);
    for (int i = 0; i < otherCount; i++)
        DisableEdgeGestures(others[i], true);
}

// Without the shield the padlock is reckoned at the size it would be drawn.
ShieldLayout TouchShield::Layout() const {
    MonitorArea monitors[MostMonitors];
    const int count = ListMonitors(monitors, MostMonitors);
    const int dpi = PrimaryDpiOf(monitors, count);
    const SIZE padlockSize = bitmap ? bitmapSize : ArtworkSize(Artwork::Padlock, dpi);
    const RECT designCover = {0, 0, CoverWidth(), CoverHeight(dpi)};
    return LayOutShield(monitors, count, designCover, padlockSize);
}

// A cover not yet shown: layered, nearly transparent (opaque past the video limit).
HWND TouchShield::CreateCover(const RECT& area) {
    HWND made = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "Cover", nullptr, WS_POPUP,
                                area.left, area.top, area.right - area.left, area.bottom - area.top,
                                owner, nullptr, instance, nullptr);
    SetLayeredWindowAttributes(made, ArtworkColorKey, opaque ? 255 : CoverAlpha, LWA_ALPHA);
    return made;
}

// The cover of a monitor other than the primary: shown topmost without taking
// the foreground from the primary cover.
HWND TouchShield::CreateOtherCover(const RECT& area) {
    HWND made = CreateCover(area);
    RaiseWithoutActivating(made);
    return made;
}

// What an opaque cover shows: the window frame's colour, or with a
// high-contrast theme the theme's window background.
int CoverColor() {
    return Accessibility.HighContrastOn() ? COLOR_WINDOW : COLOR_WINDOWFRAME;
}

LRESULT ShieldMouseActivation() {
    // Activation lifts a window to the top of its band: a tap on the shield
    // would bury the prompt or the box and take their keys.
    return UnlockDialogOpen() ? MA_NOACTIVATE : MA_ACTIVATE;
}

void CALLBACK ReassertCover(HWND, UINT, UINT_PTR, DWORD) {
    // Raising must not take the foreground: the video stays the active window.
    Shield.RaiseCover(false);
}

bool IsRefusedShieldCommand(WPARAM command) {
    switch (command & 0xFFF0) { // the low four bits are the system's own
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_MOVE:
    case SC_SIZE:
        return true;
    }
    return false;
}

LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        // The cover ends only with the lock: a close request (Alt+F4 while
        // the keyboard is free) would otherwise take the shield away.
        return 0;
    case WM_SYSCOMMAND:
        if (IsRefusedShieldCommand(wParam))
            return 0;
        break;
    case WM_MOUSEACTIVATE:
        return ShieldMouseActivation();
    case WM_ERASEBKGND: {
        RECT area;
        GetClientRect(window, &area);
        FillRect((HDC)wParam, &area, GetSysColorBrush(CoverColor()));
        return 1;
    }
    case WM_DPICHANGED:
        // A monitor's scale changed: the suggested rectangle is for a window
        // that moved, and a cover stays on its monitor; the shield is laid
        // out anew instead.
        Shield.FitCoverToDisplay();
        return 0;
    }
    if (ColorsChanged(message, wParam))
        InvalidateRect(window, nullptr, TRUE);
    return DefWindowProcA(window, message, wParam, lParam);
}

static void RaiseWithoutActivating(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNA);
}

static void ShowAgainIfTakenAway(HWND window) {
    if (window && (IsIconic(window) || !IsWindowVisible(window)))
        ShowWindow(window, IsIconic(window) ? SW_SHOWNOACTIVATE : SW_SHOWNA);
}

static void PlaceWindow(HWND window, const RECT& area, UINT flags) {
    SetWindowPos(window, HWND_TOPMOST, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, flags);
}

// The primary monitor's DPI as the monitor list reports it now.
static int ListedPrimaryDpi() {
    MonitorArea monitors[MostMonitors];
    return PrimaryDpiOf(monitors, ListMonitors(monitors, MostMonitors));
}

static int CoverWidth() {
    return GetSystemMetrics(SM_CXMAXIMIZED);
}

static int CoverHeight(int dpi) {
    return GetSystemMetrics(SM_CYMAXIMIZED) + ScaleToDpi(CoverExtraHeight, dpi);
}
