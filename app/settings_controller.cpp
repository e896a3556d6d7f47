// Construction and destruction of the object that brackets the whole process.
#include "settings_controller.h"
#include "crash_filter.h"
#include "../features/blue_light.h"

// The displays' ramps are not saved here but once the single-instance check
// has let this copy run: a copy that is turned away must not touch them.
SettingsController::SettingsController() {
    // A crash or an uncaught exception skips every orderly way out; the
    // handlers still put back what the program changed.
    InstallCrashFilter();
}

// Writes only when this process wrote a ramp.
SettingsController::~SettingsController() {
    RestoreGamma();
}
