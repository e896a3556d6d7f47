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
