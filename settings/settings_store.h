// The one settings record and its per-user registry storage.
#pragma once
#include "settings_record.h"
#include <windows.h>
#include <string>

struct SettingsField;

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

// The text a field of the record is stored as: "1" or "0" for a flag, the
// decimal number, or the scrambled unlock word (bytes, see ScrambleUnlockWord).
std::string StoredText(const SettingsField& field, const SettingsRecord& record);
// A flag's text as the store reads it: a decimal integer other than 0.
bool ParseFlag(const char* text);
std::string ScrambleUnlockWord(const std::string& word);
// The unlock word from the Password value's text. Today every character
// stands for one byte of code page 1252; the earlier version stored the bytes
// through the ANSI calls, as text of the system code page. Where the two
// readings differ both count, as long as each reads as a scrambled word; the
// one that fits best comes first, so the settings dialog shows, and its OK
// stores, the word that was set.
struct UnlockWordReadings {
    std::string word;
    std::string before; // the other reading, or empty
};
UnlockWordReadings ReadUnlockWord(const std::wstring& stored, UINT systemCodePage);
std::string UnscrambleUnlockWord(const std::string& text);
