// Construction and destruction of the object that brackets the whole process.
#include "settings_controller.h"
#include "../features/blue_light.h"

SettingsController::SettingsController() : UnlockPromptOpen(false) {
    SaveDisplayGamma();
    // A crash skips every orderly way out; the filter still puts the display's
    // own ramp back so the screen is not left tinted.
    PreviousCrashFilter = SetUnhandledExceptionFilter(RestoreGammaOnCrash);
}

SettingsController::~SettingsController() {
    RestoreGamma();
}
