#include "crash_filter.h"
#include "../features/blue_light.h"
#include "../lock/accessibility_shortcuts.h"

LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter = nullptr;

void InstallCrashFilter() {
    PreviousCrashFilter = SetUnhandledExceptionFilter(RestoreGammaOnCrash);
}

LONG WINAPI RestoreGammaOnCrash(EXCEPTION_POINTERS* exception) {
    RestoreGamma();
    RestoreAccessibilityShortcuts(); // the lock switches them off with the keyboard
    if (PreviousCrashFilter && PreviousCrashFilter != RestoreGammaOnCrash)
        return PreviousCrashFilter(exception);
    return EXCEPTION_CONTINUE_SEARCH;
}
