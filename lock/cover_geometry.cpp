// Where the touch shield's windows go: one cover over each whole monitor, the
// padlock on the primary one, and a mouse region that keeps the padlock and
// the tray icon within reach however the monitors are laid out, turned or
// scaled.
#include "cover_geometry.h"
#include "../win/dpi.h"
#include <algorithm>

// How far the mouse region reaches up and left of the padlock at 100 %: the
// region of a single 1280 x 800 screen, 282 x 202 pixels, around its padlock.
static const SIZE PadlockReach = {142, 72};
// Room for the tray menu at 100 %: five items and a separator, the widest
// "UnLock Keyboard/Mouse/Touch" in bold, spaced for touch, opening 10 pixels
// above the tap.
static const SIZE TrayMenuRoom = {320, 280};

struct MonitorListing {
    MonitorArea* monitors;
    int capacity;
    int count;
};

static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MonitorListing* listing = reinterpret_cast<MonitorListing*>(data);
    if (listing->count == listing->capacity)
        return FALSE;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        listing->monitors[listing->count++] = {
            info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0, MonitorDpi(monitor)};
    return TRUE;
}

static int EnumerateMonitors(MonitorArea* monitors, int capacity) {
    MonitorListing listing = {monitors, capacity, 0};
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&listing));
    return listing.count;
}

MonitorListFunction ListMonitors = EnumerateMonitors;

static RECT Union(const RECT& a, const RECT& b) {
    RECT both;
    UnionRect(&both, &a, &b);
    return both;
}

static int Clamp(int value, int least, int most) {
    return value > most ? most : (value < least ? least : value);
}

// The primary monitor is the one at the origin; the first reported if none
// says so.
static int PrimaryIndex(const MonitorArea* monitors, int count) {
    for (int i = 0; i < count; i++)
        if (monitors[i].Primary)
            return i;
    return 0;
}

ShieldLayout LayOutShield(const MonitorArea* monitors, int count, RECT designCover,
                          SIZE padlockSize) {
    if (count > MostMonitors)
        count = MostMonitors;
    const int primary = PrimaryIndex(monitors, count);
    ShieldLayout layout = {};
    const RECT primaryBounds = count > 0 ? monitors[primary].Bounds : designCover;
    layout.PrimaryDpi = PrimaryDpiOf(monitors, count);
    layout.CoverCount = 1;
    layout.Covers[0] = Union(primaryBounds, designCover);
    layout.VirtualScreen = primaryBounds;
    for (int i = 0; i < count; i++) {
        layout.VirtualScreen = Union(layout.VirtualScreen, monitors[i].Bounds);
        if (i != primary)
            layout.Covers[layout.CoverCount++] = monitors[i].Bounds;
    }

    const RECT& cover = layout.Covers[0];
    const int dpi = layout.PrimaryDpi;
    const int x = Clamp(cover.right - padlockSize.cx - ScaleToDpi(UnlockImageRightMargin, dpi),
                        primaryBounds.left, primaryBounds.right - padlockSize.cx);
    const int y = Clamp(cover.bottom - padlockSize.cy - ScaleToDpi(UnlockImageBottomMargin, dpi),
                        primaryBounds.top, primaryBounds.bottom - padlockSize.cy);
    layout.Padlock = {x, y, x + padlockSize.cx, y + padlockSize.cy};
    return layout;
}

static int DpiOf(const MonitorArea& monitor) {
    return monitor.Dpi > 0 ? monitor.Dpi : DefaultDpi;
}

int PrimaryDpiOf(const MonitorArea* monitors, int count) {
    return count > 0 ? DpiOf(monitors[PrimaryIndex(monitors, count)]) : DefaultDpi;
}

int DpiOfArea(const MonitorArea* monitors, int count, const RECT& area) {
    int best = -1;
    LONG bestShare = 0;
    for (int i = 0; i < count; i++) {
        RECT common;
        if (!IntersectRect(&common, &monitors[i].Bounds, &area))
            continue;
        const LONG share = (common.right - common.left) * (common.bottom - common.top);
        if (share > bestShare) {
            best = i;
            bestShare = share;
        }
    }
    return best < 0 ? PrimaryDpiOf(monitors, count) : DpiOf(monitors[best]);
}

POINT PointerCornerFor(const WayOut& wayOut, int primaryDpi) {
    // The region runs from its top-left to the right and bottom without end,
    // so its top-left alone decides what it holds.
    int left = wayOut.Padlock.left - ScaleToDpi(PadlockReach.cx, primaryDpi);
    int top = wayOut.Padlock.top - ScaleToDpi(PadlockReach.cy, primaryDpi);
    if (!IsRectEmpty(&wayOut.TrayIcon)) {
        left = (std::min)(left,
                          (int)wayOut.TrayIcon.left - ScaleToDpi(TrayMenuRoom.cx, wayOut.TrayDpi));
        top =
            (std::min)(top, (int)wayOut.TrayIcon.top - ScaleToDpi(TrayMenuRoom.cy, wayOut.TrayDpi));
    }
    left = (std::max)(left, (int)wayOut.VirtualScreen.left);
    top = (std::max)(top, (int)wayOut.VirtualScreen.top);
    return {left + PointerCornerMargin, top + PointerCornerMargin};
}
