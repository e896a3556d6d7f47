// The unlock word prompt (resource 142). It only answers whether the word
// matched; what to unlock is the lock controller's decision.
#pragma once
#include <windows.h>

const UINT UnlockPromptTimeout = 30000;
const UINT UnlockPromptRaiseInterval = 1000;
const UINT OnScreenKeyboardMessage = WM_USER + 192; // 1216

// The prompt's answer.
enum class PromptResult {
    TimedOut = 0, // or not answered at all
    Matched = 1,
    NotMatched = 2,
};

// What PromptForUnlockWord returns.
enum class UnlockWord { Accepted = 0, Refused = 1 };

struct UnlockPromptState {
    // True from just before the prompt opens until it has closed.
    bool UnlockPromptOpen;
    // The prompt while it is on screen, else none.
    HWND Window;
    // When the prompt on screen (or the last one) opened, by GetTickCount.
    DWORD OpenedAt;
    PromptResult Result;
};
extern UnlockPromptState UnlockPrompt;

// Runs the prompt modally; Accepted when the typed word matched the stored
// unlock word. A word that did not match is reported in a message box.
UnlockWord PromptForUnlockWord(HWND owner);

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
