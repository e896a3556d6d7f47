// Construction and destruction of the object that brackets the whole process.
#include "settings_controller.h"
#include "crash_filter.h"
#include "../features/blue_light.h"

SettingsController::SettingsController() {
    SaveDisplayGamma();
    // A crash skips every orderly way out; the filter still puts the display's
    // own ramp back so the screen is not left tinted.
    InstallCrashFilter();
}

SettingsController::~SettingsController() {
    RestoreGamma();
}
