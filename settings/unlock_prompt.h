// The unlock word prompt (resource 142).
#pragma once
#include <windows.h>

const UINT_PTR UnlockPromptTimeoutTimerId = 335;
const UINT_PTR UnlockPromptRaiseTimerId = 336;
const UINT OnScreenKeyboardMessage = WM_USER + 192; // 1216

// 0 no answer (timed out), 1 matched, 2 did not match.
extern int UnlockPromptResult;

INT_PTR CALLBACK UnlockWordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
