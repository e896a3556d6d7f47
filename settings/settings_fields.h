// The settings values under the settings key: each one's name, the record's
// field it holds, the value the first run writes and the value it reads as
// when it is missing or does not hold a number. Loading, saving and the tests
// all go by this table.
#pragma once
#include "settings_record.h"
#include <string>

struct SettingsField {
    const char* Name;
    // The record's field: exactly one of the three is set, and it says the kind.
    bool SettingsRecord::*Flag;
    int SettingsRecord::*Number;
    std::string SettingsRecord::*Word;
    int FirstRun;    // a flag's 0 or 1, or a number; the word starts empty
    int WhenMissing; // likewise; a missing word is no word
};

// In the order the values are written.
inline constexpr SettingsField SettingsFields[] = {
    {"EnableLockAtStartup", &SettingsRecord::EnableLockAtStartup, nullptr, nullptr, 0, 0},
    {"EnableTouchShield", &SettingsRecord::EnableTouchShield, nullptr, nullptr, 1, 0},
    {"EnableBlueLightReduction", &SettingsRecord::EnableBlueLightReduction, nullptr, nullptr, 0, 0},
    {"GreenGamma", nullptr, &SettingsRecord::GreenGamma, nullptr, 0, 0},
    {"Password", nullptr, nullptr, &SettingsRecord::Password, 0, 0},
    {"EnableYouTubeCount", &SettingsRecord::EnableYouTubeCount, nullptr, nullptr, 0, 0},
    {"DisableKeyboard", &SettingsRecord::DisableKeyboard, nullptr, nullptr, 1, 0},
    {"DisableMouse", &SettingsRecord::DisableMouse, nullptr, nullptr, 0, 0},
    {"Prompt", &SettingsRecord::Prompt, nullptr, nullptr, 0, 0},
    {"YouTubeMax", nullptr, &SettingsRecord::YouTubeMax, nullptr, 1, 1},
    {"BlueMenu", nullptr, &SettingsRecord::BlueMenu, nullptr, 0, 1},
};
