// The one settings record and its per-user registry storage.
#pragma once
#include <string>

struct SettingsRecord {
    // Every field as on the first run (see settings_fields.h).
    SettingsRecord();

    bool EnableLockAtStartup;
    bool EnableTouchShield;
    bool EnableBlueLightReduction;
    int GreenGamma;
    std::string Password; // the unlock word in plain text; empty when none is set
    bool EnableYouTubeCount;
    bool DisableKeyboard;
    bool DisableMouse;
    bool Prompt;
    int YouTubeMax;
    int BlueMenu; // one of the modes below; 0 selects no mode
};

// The stored BlueMenu values: the tint is on from start-up, toggled from the
// tray menu, or put on with the touch shield.
const int BlueAlways = 1;
const int BlueFromMenu = 2;
const int BlueWithShield = 3;

// True when blue light reduction is enabled and set to that mode.
inline bool BlueLightMode(const SettingsRecord& settings, int mode) {
    return settings.EnableBlueLightReduction && settings.BlueMenu == mode;
}

extern SettingsRecord Settings;

// The key the settings are kept under, below HKEY_CURRENT_USER; it ends in a
// backslash. Empty until InitSettingsKeyPath.
extern std::string SettingsKeyPath;
// Sets SettingsKeyPath to the product's "Software\<maker>\<product>\Settings\".
void InitSettingsKeyPath();

// Unlock words are read from their fields into buffers of this size, so at
// most 14 characters count.
const int UnlockWordBufferSize = 15;

// What LoadSettings and SaveSettings return.
enum class SettingsKey {
    Opened = 0,
    Unreadable = 2, // could be neither opened nor created
};
// Reads the record from the key; a missing key is first created with the
// record as it is (on the first run: every field's first-run value).
SettingsKey LoadSettings();
SettingsKey SaveSettings();

// A flag's text as the store reads it: a decimal integer other than 0.
bool ParseFlag(const char* text);
std::string ScrambleUnlockWord(const std::string& word);
std::string UnscrambleUnlockWord(const std::string& text);
