// The touch shield: a nearly transparent cover over each monitor and the padlock.
#pragma once
#include "cover_geometry.h"
#include <windows.h>

// The cover hangs this far below the maximized height, over the taskbar.
const int CoverExtraHeight = 30;
const BYTE CoverAlpha = 10;

extern HWND CoverWindow;       // the primary monitor's cover while the shield is up, else none
extern HWND UnlockImageWindow; // the padlock, owned by the primary cover
// The covers of the monitors other than the primary one; the first
// OtherCoverCount entries are in use while the shield is up.
extern HWND OtherCoverWindows[MostMonitors];
extern int OtherCoverCount;
extern int UnlockBitmapWidth;
extern int UnlockBitmapHeight;
extern int UnlockImageX;
extern int UnlockImageY;

void RegisterCoverClass(HINSTANCE instance);
void RegisterUnlockImageClass(HINSTANCE instance);
// Makes one cover per monitor and the padlock on the primary one.
HWND CreateCoverWindows(HINSTANCE instance);
// Destroys every cover and the padlock and releases the padlock's bitmap and
// memory device context.
void DestroyCoverWindows();
void LoadUnlockBitmap(HWND window, HINSTANCE instance);
void DrawUnlockImage(HWND window);
void PaintUnlockImage(HWND window);
// Follows a change of the monitors, their resolution or their orientation:
// moves the pointer corner and, while the covers exist, adds or removes covers,
// fits each to its monitor and moves the padlock.
void FitCoverToDisplay();
// The video limit: every cover turns opaque and comes to the top.
void MakeCoversOpaque();
// Puts the covers back at the top of the topmost band, and with takeForeground
// also in front. Every raise goes through here: while the unlock word prompt
// or its "did not match" box is open, the covers stay where they are, below them.
void RaiseCover(bool takeForeground);
// What a tap on the cover or the padlock does to activation (WM_MOUSEACTIVATE).
LRESULT ShieldMouseActivation();
void CALLBACK ReassertCover(HWND window, UINT message, UINT_PTR id, DWORD time);
LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// True while the padlock's bitmap and memory device context are held.
bool UnlockBitmapLoaded();
