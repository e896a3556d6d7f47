// The accessibility shortcuts (Shift five times, right Shift held 8 s, NumLock
// held 5 s, left Alt + left Shift + NumLock, left Alt + left Shift + Print
// Screen) each open a system dialog over every window, the lock included, or
// change how the whole screen looks. While the keyboard is locked their
// hotkeys are switched off.
#pragma once
#include <windows.h>

// Every read and write of the five accessibility settings goes through this
// pointer (SystemParametersInfoA), so tests can see them on a system that does
// not store them.
typedef BOOL(WINAPI* SystemParametersFunction)(UINT action, UINT param, PVOID data, UINT winIni);
extern SystemParametersFunction AccessibilityParameters;

// Keeps the current Sticky Keys, Filter Keys, Toggle Keys, Mouse Keys and High
// Contrast settings and clears the hotkey flags of each feature that is not
// on. A second call before the restore changes nothing, so the kept values
// stay the user's own.
void SuspendAccessibilityShortcuts();
// Writes back exactly the kept settings; does nothing when none are kept.
void RestoreAccessibilityShortcuts();
