// The settings dialog (resource 141).
#pragma once
#include <windows.h>

const UINT_PTR FadeInTimerId = 338;

extern HWND SettingsDialogWindow; // the open dialog, or none

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
