// The lock state machine: countdown, locking, unlocking.
#pragma once
#include <windows.h>

struct SettingsRecord;

const UINT_PTR LockTimerId = 333;  // countdown stages, then the lock's watchdog
const UINT_PTR VideoTimerId = 334; // video counter poll while locked

extern bool Unlocked;      // no lock pending or engaged
extern bool ImmediateLock; // the next lock engages without countdown or balloons
extern HHOOK KeyboardHook;
extern HHOOK MouseHook;

// What a lock engages, decided from the settings alone.
struct LockEngagement {
    bool noOptions;             // nothing to engage: a balloon asks to check the settings
    HOOKPROC keyboardProcedure; // procedure of the keyboard hook, or none
    bool holdMouse;
    bool countVideos;
    bool touchShield;
    bool blueLight;   // the tint goes on with the shield
    bool raisePrompt; // the shield comes up over the open unlock word prompt or its box
    bool guard;       // the watchdog on timer 333 keeps hooks and cover in place
};
// promptOpen: the unlock word prompt, or its "did not match" box, is on screen
// at the moment of locking.
LockEngagement DecideLockEngagement(const SettingsRecord& settings, bool promptOpen);

// What RequestUnlock returns.
const int UnlockReleased = 0;
const int UnlockRefused = 1; // the unlock word was refused, or another request is running

void StartLockCountdown();
void CALLBACK AdvanceLockCountdown(HWND window, UINT message, UINT_PTR id, DWORD time);
void CALLBACK EngageLock(HWND window, UINT message, UINT_PTR id, DWORD time);
int RequestUnlock();
void ReleaseLock();
int GetOsVersionLevel();
HRESULT DisableEdgeGestures(HWND window, bool disable);
// Turns the edge swipes off on every cover, from Windows 8 on; again after a
// display change, which may have added a cover for a new monitor.
void DisableEdgeGesturesOnCovers();
// Every hook the lock installs goes through this pointer (SetWindowsHookExA),
// so tests can make an installation fail.
typedef HHOOK(WINAPI* InstallHookFunction)(int type, HOOKPROC procedure, HINSTANCE module,
                                           DWORD thread);
extern InstallHookFunction InstallHook;

// Windows drops a low-level hook that once took too long, and may drop hooks
// around sleep and session switches, without telling the program; puts back
// the hooks the lock holds (also one whose installation failed), each new one
// in before its old one goes, so there is no moment without it.
void ReinstallLockHooks();
// Timer 333 while locked: puts back the hooks, refreshes where the tray icon
// is for the mouse hook, and raises the cover if there is one.
void CALLBACK GuardLock(HWND window, UINT message, UINT_PTR id, DWORD time);
// The procedure behind KeyboardHook (BlockAllKeysProc or the word filter), or none.
HOOKPROC KeyboardHookProcedureInUse();
