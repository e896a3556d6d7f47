// The mouse region while the mouse is locked: the pointer may move only at or
// right of and below (corner - PointerCornerMargin), and there a button reaches
// only the program's own tray icon and windows.
#pragma once
#include "cover_geometry.h"
#include <windows.h>

class CSystemTray;

class MouseRegion {
  public:
    // The corner starts 170 and 120 pixels inside the maximized size.
    MouseRegion();
    MouseRegion(const MouseRegion&) = delete;
    MouseRegion& operator=(const MouseRegion&) = delete;

    // The region's corner.
    POINT Corner() const { return corner; }
    void MoveCorner(POINT moved) { corner = moved; }

    // Where the program's own tray icon is on the screen, or where the whole
    // notification area is when the shell cannot say; empty when neither is
    // known (no taskbar).
    RECT TrayIconRect() const { return trayIcon; }
    // The tray whose icon the region keeps within reach.
    void KeepTrayInReach(const CSystemTray* tray) { reachedTray = tray; }
    // Reads where the tray icon is afresh and derives the corner from the
    // shield's layout: start of a lock, every watchdog tick, every display or
    // scale change. Asking the shell takes a round trip to the taskbar, too
    // slow for the hook itself, so the hook reads what this leaves.
    void Refresh(const ShieldLayout& layout);

  private:
    POINT corner;
    RECT trayIcon;
    const CSystemTray* reachedTray;
};

extern MouseRegion PointerRegion;

// The icon's rectangle from the shell, else the notification area's
// (Shell_TrayWnd's TrayNotifyWnd), else empty.
RECT ReadTrayIconRect(const CSystemTray* tray);
