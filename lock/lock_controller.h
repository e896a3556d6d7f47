// The lock state machine: countdown, locking, unlocking.
#pragma once
#include <windows.h>

const UINT_PTR LockTimerId = 333;  // countdown stages, then the cover re-raise
const UINT_PTR VideoTimerId = 334; // video counter poll while locked

extern bool Unlocked;      // no lock pending or engaged
extern bool ImmediateLock; // the next lock engages without countdown or balloons
extern HHOOK KeyboardHook;
extern HHOOK MouseHook;
extern HWND CoverWindow;
extern HWND UnlockImageWindow;

void StartLockCountdown();
void CALLBACK AdvanceLockCountdown(HWND window, UINT message, UINT_PTR id, DWORD time);
void CALLBACK EngageLock(HWND window, UINT message, UINT_PTR id, DWORD time);
// 0 when the lock was released, 1 when the unlock word was refused.
int RequestUnlock();
void ReleaseLock();
int GetOsVersionLevel();
HRESULT DisableEdgeGestures(HWND window, bool disable);
// Turns the edge swipes off on every cover, from Windows 8 on; again after a
// display change, which may have added a cover for a new monitor.
void DisableEdgeGesturesOnCovers();
// Windows drops a low-level hook that once took too long, and may drop hooks
// around sleep and session switches; puts back the hooks the lock holds.
void ReinstallLockHooks();
// The procedure behind KeyboardHook (BlockAllKeysProc or the word filter), or none.
HOOKPROC KeyboardHookProcedureInUse();
