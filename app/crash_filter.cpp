#include "crash_filter.h"
#include "../features/blue_light.h"
#include "../lock/accessibility_shortcuts.h"
#include <cstdlib>
#include <exception>

static void RestoreAfterCrash();

LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter = nullptr;

void InstallCrashFilter() {
    PreviousCrashFilter = SetUnhandledExceptionFilter(RestoreGammaOnCrash);
    std::set_terminate(RestoreOnTerminate);
}

LONG WINAPI RestoreGammaOnCrash(EXCEPTION_POINTERS* exception) {
    RestoreAfterCrash();
    if (PreviousCrashFilter && PreviousCrashFilter != RestoreGammaOnCrash)
        return PreviousCrashFilter(exception);
    return EXCEPTION_CONTINUE_SEARCH;
}

void RestoreOnTerminate() {
    RestoreAfterCrash();
    abort();
}

static void RestoreAfterCrash() {
    RestoreGamma();
    RestoreAccessibilityShortcuts(); // the lock switches them off with the keyboard
}
