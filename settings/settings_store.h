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
    int BlueMenu = 0; // 1 Always, 2 Menu, 3 w/ Shield; 0 selects no mode
};

extern SettingsRecord Settings;

const int SettingsKeyPathSize = 260;
// "Software\<maker>\<product>\Settings\" under HKEY_CURRENT_USER.
extern char SettingsKeyPath[SettingsKeyPathSize];
extern char UnlockWordSuffix[5];
extern unsigned char UnlockWordKeyByte;

// 0 when the key was opened, 2 when it could not be opened or created.
int LoadSettings();
int SaveSettings();

bool ParseFlag(const char* text);
std::string ScrambleUnlockWord(const std::string& word);
std::string UnscrambleUnlockWord(const std::string& text);
