// Low-level keyboard and mouse hooks that hold input while locked.
#pragma once
#include "cover_geometry.h"
#include "word_filter.h"
#include <windows.h>

LRESULT CALLBACK BlockAllKeysProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK UnlockWordKeyFilterProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseConfineProc(int code, WPARAM wParam, LPARAM lParam);

// The decisions the hook procedures make, free of the hook plumbing: the word
// filter's in word_filter.h, the mouse's below.

// Starts the word filter's record of held keys afresh; for every keyboard
// hook that goes in, as keys pressed before it are not reported to it.
void ForgetHeldKeys();

// The top-level window under a point (WindowFromPoint), through this pointer
// so that tests can ask about windows on monitors no virtual display here has.
typedef HWND(WINAPI* WindowAtPointFunction)(POINT point);
extern WindowAtPointFunction WindowAtPoint;

struct MouseDecision {
    bool letThrough;
    POINT cursor; // where to put the cursor back when the event is swallowed
};
// The region is everything at or right of cornerX - 120 and at or below
// cornerY - 120; outside it the event is swallowed and the offending
// coordinate clamped to the region's edge. Inside it the pointer moves
// freely, but a button or wheel event (message) passes only over trayIcon or
// over one of the program's own windows (its tray menu, the padlock, the
// cover): the corner holds the taskbar's clock, quick settings and Show
// desktop. With an empty trayIcon every event inside the region passes.
MouseDecision DecideMouseEvent(POINT point, UINT message, int cornerX, int cornerY, RECT trayIcon,
                               bool overOwnWindow);
// What MouseConfineProc decides for an event at point (physical pixels): the
// region and the tray icon as last refreshed, and whether one of the
// program's own windows is under the point.
MouseDecision DecideMouseHookEvent(POINT point, UINT message);
