// The settings values under the settings key: each one's name, the record's
// field it holds, the value the first run writes and the value it reads as
// when it is missing or does not hold a number. Loading, saving and the tests
// all go by this table.
#pragma once
#include "settings_record.h"
#include <string>

enum class FieldKind { Flag, Number, Word };

struct SettingsField {
    const char* Name;
    FieldKind Kind;
    // The record's field: the one that fits the kind is set.
    bool SettingsRecord::*Flag;
    int SettingsRecord::*Number;
    std::string SettingsRecord::*Word;
    int FirstRun;    // a flag's 0 or 1, or a number; the word starts empty
    int WhenMissing; // likewise; a missing word is no word
};

// In the order the values are written.
inline constexpr SettingsField SettingsFields[] = {
    {"EnableLockAtStartup", FieldKind::Flag, &SettingsRecord::EnableLockAtStartup, nullptr, nullptr,
     0, 0},
    {"EnableTouchShield", FieldKind::Flag, &SettingsRecord::EnableTouchShield, nullptr, nullptr, 1,
     0},
    {"EnableBlueLightReduction", FieldKind::Flag, &SettingsRecord::EnableBlueLightReduction,
     nullptr, nullptr, 0, 0},
    {"GreenGamma", FieldKind::Number, nullptr, &SettingsRecord::GreenGamma, nullptr, 0, 0},
    {"Password", FieldKind::Word, nullptr, nullptr, &SettingsRecord::Password, 0, 0},
    {"EnableYouTubeCount", FieldKind::Flag, &SettingsRecord::EnableYouTubeCount, nullptr, nullptr,
     0, 0},
    {"DisableKeyboard", FieldKind::Flag, &SettingsRecord::DisableKeyboard, nullptr, nullptr, 1, 0},
    {"DisableMouse", FieldKind::Flag, &SettingsRecord::DisableMouse, nullptr, nullptr, 0, 0},
    {"Prompt", FieldKind::Flag, &SettingsRecord::Prompt, nullptr, nullptr, 0, 0},
    {"YouTubeMax", FieldKind::Number, nullptr, &SettingsRecord::YouTubeMax, nullptr, 1, 1},
    {"BlueMenu", FieldKind::Number, nullptr, &SettingsRecord::BlueMenu, nullptr, 0, 1},
};
