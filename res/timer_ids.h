// Every timer the program sets, by the window it belongs to. A timer id is
// only unique within its window: 339 is used by two different windows. Each
// timer has its own procedure; the numbers are fixed.
#pragma once
#include <windows.h>

// The splash window.
const UINT_PTR SplashCloseTimerId = 1; // closes the splash after the caller's delay

// The hidden main window.
const UINT_PTR LockTimerId = 333;             // the two countdown stages, then the lock's watchdog
const UINT_PTR VideoTimerId = 334;            // the video counter's poll while locked
const UINT_PTR BlueLightReapplyTimerId = 337; // the tint again after a power or session event
const UINT_PTR GammaWatchTimerId = 339;       // rewrites a tint the system has put back
const UINT_PTR TrayRetryTimerId = 340;        // adds the tray icon while no taskbar is there
const UINT_PTR TypedWordTimerId = 341;        // unlocks, outside the hook, on the typed unlock word
const UINT_PTR ViewingLimitTimerId = 342;     // the viewing-time limit's tick while locked

// The unlock word prompt.
const UINT_PTR UnlockPromptTimeoutTimerId = 335; // gives up on the word
const UINT_PTR UnlockPromptRaiseTimerId = 336;   // keeps the prompt in front

// The "Unlock Word Check" box (the word did not match).
const UINT_PTR MismatchBoxTimeoutTimerId = 339; // closes the box with the prompt's time

// The settings dialog.
const UINT_PTR FadeInTimerId = 338; // the dialog's fade-in
