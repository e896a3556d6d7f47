// Construction and destruction of the object that brackets the whole process.
#include "settings_controller.h"
#include "settings_dialog.h"
#include "settings_store.h"
#include "../features/blue_light.h"
#include <cstdio>

// Character codes of the suffix appended to the unlock word before it is
// scrambled, and the byte that hides its last character. Changing either makes
// every stored unlock word unreadable.
static const int SuffixCodes[4] = {0x7E, 0x4D, 0x6F, 0x21};
static const unsigned char KeyByte = 0xA5;

SettingsController::SettingsController() : UnlockPromptOpen(false) {
    SaveDisplayGamma();
    // A crash skips every orderly way out; the filter still puts the display's
    // own ramp back so the screen is not left tinted.
    PreviousCrashFilter = SetUnhandledExceptionFilter(RestoreGammaOnCrash);
    SettingsDialogWindow = nullptr;
    snprintf(UnlockWordSuffix, sizeof UnlockWordSuffix, "%c%c%c%c", SuffixCodes[0], SuffixCodes[1],
             SuffixCodes[2], SuffixCodes[3]);
    UnlockWordKeyByte = KeyByte;
}

SettingsController::~SettingsController() {
    RestoreGamma();
}
