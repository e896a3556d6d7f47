// What the program changes outside itself must not outlive a crash either.
#pragma once
#include <windows.h>

// Unhandled-exception filter that puts the displays' own ramps and the
// accessibility shortcuts back before the process dies, then lets the crash
// go on to the filter it replaced (if any).
LONG WINAPI RestoreGammaOnCrash(EXCEPTION_POINTERS* exception);
// Terminate handler that puts the same back, then aborts. An uncaught C++
// exception ends in abort, which no exception filter sees.
[[noreturn]] void RestoreOnTerminate();
// Installs RestoreGammaOnCrash, keeping the filter it replaces, and
// RestoreOnTerminate.
void InstallCrashFilter();
// The filter RestoreGammaOnCrash replaced, which it hands the crash on to.
extern LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter;
