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

    // PointerCornerX and PointerCornerY: the region's corner.
    POINT Corner() const { return corner; }
    void MoveCorner(POINT moved) { corner = moved; }
    // A display change: the corner is the maximized size read anew, which
    // after a turn of the screen already describes it turned.
    void FollowDisplay(POINT maximizedCorner) { corner = maximizedCorner; }
    // Moves the corner where needed, so that the region starts on the virtual
    // screen and holds the whole padlock.
    void KeepPadlockInside(const ShieldLayout& layout) {
        corner = FitPointerCorner(corner, layout);
    }

    // Where the program's own tray icon is on the screen; empty when the shell
    // cannot say (before Windows 7, or no taskbar).
    RECT TrayIconRect() const { return trayIcon; }
    // Asking the shell takes a round trip to the taskbar, too slow for the
    // hook itself, so the hook reads the copy this refreshes.
    void RefreshTrayIcon(const CSystemTray& tray);

  private:
    POINT corner;
    RECT trayIcon;
};

extern MouseRegion PointerRegion;
