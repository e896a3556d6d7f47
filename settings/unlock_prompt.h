// The unlock word prompt (resource 142).
#pragma once
#include <windows.h>

const UINT_PTR UnlockPromptTimeoutTimerId = 335;
const UINT_PTR UnlockPromptRaiseTimerId = 336;
const UINT_PTR MismatchBoxTimeoutTimerId = 339;
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
// When the prompt on screen (or the last one) opened, by GetTickCount.
extern DWORD UnlockPromptOpenedAt;

INT_PTR CALLBACK UnlockWordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void CALLBACK UnlockPromptTimeoutTimer(HWND dialog, UINT message, UINT_PTR id, DWORD time);
void CALLBACK UnlockPromptRaiseTimer(HWND dialog, UINT message, UINT_PTR id, DWORD time);
void CALLBACK MismatchBoxTimeoutTimer(HWND box, UINT message, UINT_PTR id, DWORD time);
// How long the "did not match" box may stay: until the prompt's own time-out
// would have passed, but long enough to be read.
UINT MismatchBoxTimeLeft(DWORD promptOpenedAt, DWORD now);
// True from just before the prompt opens until its "did not match" box has
// gone: the cover must not be raised over either.
bool UnlockDialogOpen();
// The prompt or the box, whichever is on screen, else none.
HWND UnlockDialogWindow();
// Brings the open prompt or box to the front; does nothing when none is open.
void BringUnlockDialogToFront();
