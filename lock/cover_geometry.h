// Where the touch shield's windows go on the monitors the system reports, and
// the mouse region that keeps the way out within reach. Every rectangle here
// is in physical pixels (the program is per-monitor DPI aware).
#pragma once
#include <windows.h>

// At 100 %; each is scaled to the primary monitor's DPI.
const int UnlockImageRightMargin = 20;
const int UnlockImageBottomMargin = 70; // from the cover's bottom edge
// Monitors beyond this many get no cover of their own.
const int MostMonitors = 16;
// The mouse region starts this far left of and above the pointer corner.
const int PointerCornerMargin = 120;

struct MonitorArea {
    RECT Bounds; // the whole monitor (rcMonitor), taskbar included
    bool Primary;
    int Dpi; // the monitor's own scale, 96 at 100 %
};

// Every read of the monitor list goes through this pointer (EnumDisplayMonitors
// with GetMonitorInfoA and the monitor's DPI), so that tests can lay out
// monitors side by side, turned or at mixed scales, which no virtual display
// here can. Fills at most capacity areas and returns how many it filled.
typedef int (*MonitorListFunction)(MonitorArea* monitors, int capacity);
extern MonitorListFunction ListMonitors;

struct ShieldLayout {
    int CoverCount;            // one per monitor, at least one
    RECT Covers[MostMonitors]; // Covers[0] is the primary monitor's
    RECT Padlock;
    RECT VirtualScreen; // all monitors together
    int PrimaryDpi;
};

// designCover is the rectangle a single-monitor cover takes (the maximized
// size, a little taller, at the origin); the primary monitor's cover takes in
// both it and the whole monitor. The padlock, padlockSize as drawn for the
// primary monitor, sits at that cover's bottom-right with margins at that
// monitor's scale, pulled onto the primary monitor where the cover reaches
// past it.
ShieldLayout LayOutShield(const MonitorArea* monitors, int count, RECT designCover,
                          SIZE padlockSize);
// The primary monitor's DPI (the first listed when none says it is primary).
int PrimaryDpiOf(const MonitorArea* monitors, int count);
// The DPI of the listed monitor that holds most of area; the primary
// monitor's when none does.
int DpiOfArea(const MonitorArea* monitors, int count, const RECT& area);

// What the mouse region must hold: the ways out a mouse has.
struct WayOut {
    RECT Padlock;  // where the padlock is (or would be, without the shield)
    RECT TrayIcon; // the tray icon, or the notification area; empty when unknown
    int TrayDpi;   // of the monitor the icon is on: the size of its menu
    RECT VirtualScreen;
};
// The one pointer corner formula, for the start of a lock and every display
// change alike. The region reaches a set distance up and left of the padlock,
// scaled with it; further where the tray icon and room for its menu (which
// opens up and left in the corner) need it; and never off the virtual screen.
POINT PointerCornerFor(const WayOut& wayOut, int primaryDpi);
