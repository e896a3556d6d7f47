// The unlock word prompt (resource 142).
#pragma once
#include <windows.h>

const UINT_PTR UnlockPromptTimeoutTimerId = 335;
const UINT_PTR UnlockPromptRaiseTimerId = 336;
const UINT UnlockPromptTimeout = 30000;
const UINT UnlockPromptRaiseInterval = 1000;
const UINT OnScreenKeyboardMessage = WM_USER + 192; // 1216

// The prompt's answer, kept in UnlockPromptResult.
const int PromptTimedOut = 0; // or not answered at all
const int PromptMatched = 1;
const int PromptNotMatched = 2;
extern int UnlockPromptResult;
// The prompt while it is on screen, else none.
extern HWND UnlockPromptWindow;

INT_PTR CALLBACK UnlockWordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void CALLBACK UnlockPromptTimeoutTimer(HWND dialog, UINT message, UINT_PTR id, DWORD time);
void CALLBACK UnlockPromptRaiseTimer(HWND dialog, UINT message, UINT_PTR id, DWORD time);
// Brings the open prompt to the front; does nothing when none is open.
void BringUnlockPromptToFront();
