// Where the touch shield's windows go on the monitors the system reports.
#pragma once
#include <windows.h>

const int UnlockImageRightMargin = 20;
const int UnlockImageBottomMargin = 70; // from the cover's bottom edge
// Monitors beyond this many get no cover of their own.
const int MostMonitors = 16;
// The mouse region starts this far left of and above the pointer corner.
const int PointerCornerMargin = 120;

struct MonitorArea {
    RECT Bounds; // the whole monitor (rcMonitor), taskbar included
    bool Primary;
};

// Every read of the monitor list goes through this pointer (EnumDisplayMonitors
// with GetMonitorInfoA), so that tests can lay out monitors side by side or
// turned, which no virtual display here can. Fills at most capacity areas and
// returns how many it filled.
typedef int (*MonitorListFunction)(MonitorArea* monitors, int capacity);
extern MonitorListFunction ListMonitors;

struct ShieldLayout {
    int CoverCount;            // one per monitor, at least one
    RECT Covers[MostMonitors]; // Covers[0] is the primary monitor's
    RECT Padlock;
    RECT VirtualScreen; // all monitors together
};

// designCover is the rectangle a single-monitor cover takes (the maximized
// size, 30 pixels taller, at the origin); the primary monitor's cover takes in
// both it and the whole monitor. The padlock sits at that cover's bottom-right,
// pulled onto the primary monitor where the cover reaches past it.
ShieldLayout LayOutShield(const MonitorArea* monitors, int count, RECT designCover,
                          SIZE padlockSize);
// The pointer corner moved, where needed, so that the mouse region starts on
// the virtual screen and holds the whole padlock.
POINT FitPointerCorner(POINT corner, const ShieldLayout& layout);
