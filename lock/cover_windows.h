// The touch shield: the nearly transparent full-screen cover and the padlock.
#pragma once
#include <windows.h>

void RegisterCoverClass(HINSTANCE instance);
void RegisterUnlockImageClass(HINSTANCE instance);
HWND CreateCoverWindows(HINSTANCE instance);
void PaintUnlockImage(HWND window);
void FitCoverToDisplay(bool landscape);
void CALLBACK ReassertCover(HWND window, UINT message, UINT_PTR id, DWORD time);
LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
