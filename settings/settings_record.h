// The one settings record: eleven fields named after their registry values.
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
    // The stored word read as the earlier version stored it (text of the
    // system code page) while it is still stored that way and reads otherwise
    // than Password; else empty. Not a value of its own: the next save stores
    // Password in today's form and clears it.
    std::string PasswordBefore;
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

// True when typed is the unlock word by either reading of the stored value,
// byte for byte (case-sensitive, no trimming).
inline bool IsUnlockWord(const SettingsRecord& settings, const std::string& typed) {
    return typed == settings.Password ||
           (!settings.PasswordBefore.empty() && typed == settings.PasswordBefore);
}
