// The touch shield: the nearly transparent full-screen cover and the padlock.
#pragma once
#include <windows.h>

// The cover hangs this far below the maximized height, over the taskbar.
const int CoverExtraHeight = 30;
const int UnlockImageRightMargin = 20;
const int UnlockImageBottomMargin = 70; // from the cover's bottom edge
const BYTE CoverAlpha = 10;

extern HWND CoverWindow;       // the cover while the shield is up, else none
extern HWND UnlockImageWindow; // the padlock, owned by the cover
extern int UnlockBitmapWidth;
extern int UnlockBitmapHeight;
extern int UnlockImageX;
extern int UnlockImageY;

void RegisterCoverClass(HINSTANCE instance);
void RegisterUnlockImageClass(HINSTANCE instance);
HWND CreateCoverWindows(HINSTANCE instance);
// Destroys the cover and the padlock and releases the padlock's bitmap and
// memory device context.
void DestroyCoverWindows();
void LoadUnlockBitmap(HWND window, HINSTANCE instance);
void DrawUnlockImage(HWND window);
void PaintUnlockImage(HWND window);
void FitCoverToDisplay(bool landscape);
// Puts the cover back at the top of the topmost band, and with takeForeground
// also in front. Every raise goes through here: while the unlock word prompt
// or its "did not match" box is open, the cover stays where it is, below them.
void RaiseCover(bool takeForeground);
// What a tap on the cover or the padlock does to activation (WM_MOUSEACTIVATE).
LRESULT ShieldMouseActivation();
void CALLBACK ReassertCover(HWND window, UINT message, UINT_PTR id, DWORD time);
LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// True while the padlock's bitmap and memory device context are held.
bool UnlockBitmapLoaded();
