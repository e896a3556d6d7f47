// Where the touch shield's windows go: one cover over each whole monitor, the
// padlock on the primary one, and a mouse region that keeps the padlock within
// reach however the monitors are laid out or turned.
#include "cover_geometry.h"

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
        listing->monitors[listing->count++] = {info.rcMonitor,
                                               (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
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

ShieldLayout LayOutShield(const MonitorArea* monitors, int count, RECT designCover,
                          SIZE padlockSize) {
    if (count > MostMonitors)
        count = MostMonitors;
    // The primary monitor is the one at the origin; take the first reported if
    // none says so.
    int primary = 0;
    for (int i = 0; i < count; i++)
        if (monitors[i].Primary) {
            primary = i;
            break;
        }
    ShieldLayout layout = {};
    const RECT primaryBounds = count > 0 ? monitors[primary].Bounds : designCover;
    layout.CoverCount = 1;
    layout.Covers[0] = Union(primaryBounds, designCover);
    layout.VirtualScreen = primaryBounds;
    for (int i = 0; i < count; i++) {
        layout.VirtualScreen = Union(layout.VirtualScreen, monitors[i].Bounds);
        if (i != primary)
            layout.Covers[layout.CoverCount++] = monitors[i].Bounds;
    }

    const RECT& cover = layout.Covers[0];
    const int x = Clamp(cover.right - padlockSize.cx - UnlockImageRightMargin, primaryBounds.left,
                        primaryBounds.right - padlockSize.cx);
    const int y = Clamp(cover.bottom - padlockSize.cy - UnlockImageBottomMargin, primaryBounds.top,
                        primaryBounds.bottom - padlockSize.cy);
    layout.Padlock = {x, y, x + padlockSize.cx, y + padlockSize.cy};
    return layout;
}

POINT FitPointerCorner(POINT corner, const ShieldLayout& layout) {
    // The region runs from (corner - margin) to the right and bottom without
    // end, so its top-left alone decides what it holds.
    const int margin = PointerCornerMargin;
    corner.x = Clamp(corner.x, layout.VirtualScreen.left + margin, layout.Padlock.left + margin);
    corner.y = Clamp(corner.y, layout.VirtualScreen.top + margin, layout.Padlock.top + margin);
    return corner;
}
