// Display scale. The program declares itself per-monitor aware, so every
// coordinate it meets is in physical pixels; what still varies is how large
// its own pictures, texts and margins are drawn on each monitor.
#pragma once
#include <windows.h>

const int DefaultDpi = 96; // 100 %

// The DPI of the monitor a window is on (Windows 10 1607 and later), else
// the system's.
int WindowDpi(HWND window);
// The DPI of a monitor (Windows 8.1 and later), else the system's.
int MonitorDpi(HMONITOR monitor);
// The primary monitor's DPI: the padlock, the splash and the tray's icons
// are drawn for it.
int PrimaryMonitorDpi();
// The DPI the process runs at where nothing better is known.
int SystemDpi();
// A length drawn at 96 dpi as long as it is drawn at dpi.
inline int ScaleToDpi(int length, int dpi) {
    return MulDiv(length, dpi, DefaultDpi);
}
// A system metric as it is at dpi (GetSystemMetricsForDpi, Windows 10 1607
// and later; before that the system's metric scaled from the system DPI).
int SystemMetricForDpi(int index, int dpi);
