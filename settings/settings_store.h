// The one settings record and its per-user registry storage.
#pragma once
#include <string>

struct SettingsRecord {
    bool EnableLockAtStartup = false;
    bool EnableTouchShield = true;
    bool EnableBlueLightReduction = false;
    int GreenGamma = 0;
    std::string Password; // the unlock word in plain text; empty when none is set
    bool EnableYouTubeCount = false;
    bool DisableKeyboard = true;
    bool DisableMouse = false;
    bool Prompt = false;
    int YouTubeMax = 1;
    int BlueMenu = 0; // one of the modes below; 0 selects no mode
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

const int SettingsKeyPathSize = 260;
// "Software\<maker>\<product>\Settings\" under HKEY_CURRENT_USER.
extern char SettingsKeyPath[SettingsKeyPathSize];
// Unlock words are read from their fields into buffers of this size, so at
// most 14 characters count.
const int UnlockWordBufferSize = 15;

// Builds SettingsKeyPath, cut to fit its buffer.
void InitSettingsKeyPath(const char* maker, const char* product);
extern char UnlockWordSuffix[5];
extern unsigned char UnlockWordKeyByte;

// What LoadSettings and SaveSettings return.
const int SettingsKeyOpened = 0;
const int SettingsKeyUnreadable = 2; // could be neither opened nor created
int LoadSettings();
int SaveSettings();

bool ParseFlag(const char* text);
std::string ScrambleUnlockWord(const std::string& word);
std::string UnscrambleUnlockWord(const std::string& text);
