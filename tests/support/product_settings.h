// The real program's settings key, as an end-to-end test sets and reads it.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

extern const char* const ProductSettingsKey; // under HKEY_CURRENT_USER

void DeleteProductSettings();
void WriteProductSetting(const char* name, const std::string& text);
// Writes the first-run texts with some values replaced, e.g. {{"Prompt", "1"}}.
void WriteProductSettings(const std::vector<std::pair<std::string, std::string>>& changes);
// False when the value is missing; otherwise its bytes (terminator dropped) and type.
// Stores the unlock word scrambled, as the program itself would.
void WriteProductUnlockWord(const std::string& word);
bool ReadProductSetting(const char* name, std::string* data, DWORD* type = nullptr);
// The names of the values under a key of HKEY_CURRENT_USER; none without the key.
std::vector<std::string> ValueNamesUnder(const char* path);
inline std::vector<std::string> ProductSettingNames() {
    return ValueNamesUnder(ProductSettingsKey);
}
