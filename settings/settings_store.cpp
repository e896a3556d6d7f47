// Placeholder until the settings store lands: the built-in defaults only.
#include "settings_store.h"
#include "settings_controller.h"

SettingsRecord Settings;
char SettingsKeyPath[SettingsKeyPathSize];
char UnlockWordSuffix[5];
unsigned char UnlockWordKeyByte;

void SettingsController::InitSettingsKeyPath(const char*, const char*) {}
int LoadSettings() { return 0; }
int SaveSettings() { return 0; }
bool ParseFlag(const char*) { return false; }
std::string ScrambleUnlockWord(const std::string&) { return std::string(); }
std::string UnscrambleUnlockWord(const std::string&) { return std::string(); }
