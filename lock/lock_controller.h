// The lock state machine: countdown, locking, unlocking.
#pragma once
#include "lock_session.h"
#include <windows.h>

struct SettingsRecord;

// Hands the lock what it needs of the program around it (see LockHost); the
// video limit turns the shield's covers opaque from then on.
void AttachLock(const LockHost& host);

// What a lock engages, decided from the settings alone.
struct LockEngagement {
    bool noOptions;             // nothing to engage: a balloon asks to check the settings
    HOOKPROC keyboardProcedure; // procedure of the keyboard hook, or none
    bool holdMouse;
    bool countVideos;
    bool timeLimit; // a viewing-time limit runs (then it also does the video counting)
    bool touchShield;
    bool raisePrompt; // the shield comes up over the open unlock word prompt or its box
    bool guard;       // the watchdog on timer 333 keeps hooks and cover in place
};
// promptOpen: the unlock word prompt, or its "did not match" box, is on screen
// at the moment of locking. timeLimit: a viewing-time limit is stored.
LockEngagement DecideLockEngagement(const SettingsRecord& settings, bool promptOpen,
                                    bool timeLimit = false);

// What RequestUnlock returns.
enum class UnlockResult {
    Released = 0,
    Refused = 1, // the unlock word was refused, or another request is running
};

void StartLockCountdown();
void CALLBACK AdvanceLockCountdown(HWND window, UINT message, UINT_PTR id, DWORD time);
void CALLBACK EngageLock(HWND window, UINT message, UINT_PTR id, DWORD time);
UnlockResult RequestUnlock();
void ReleaseLock();
// Timer TypedWordTimerId, set by the blocking hook when the unlock word was
// typed: releases the lock as a matching word at the prompt would.
void CALLBACK ReleaseLockOnTypedWord(HWND window, UINT message, UINT_PTR id, DWORD time);

// Windows drops a low-level hook that once took too long, and may drop hooks
// around sleep and session switches, without telling the program; puts back
// the hooks the lock holds (also one whose installation failed), each new one
// in before its old one goes, so there is no moment without it.
void ReinstallLockHooks();
// Timer 333 while locked: puts back the hooks, derives the mouse region anew
// from where the tray icon and the padlock are, and raises the cover (shown
// again if it was minimised or hidden) if there is one.
void CALLBACK GuardLock(HWND window, UINT message, UINT_PTR id, DWORD time);
