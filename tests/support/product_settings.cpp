#include "product_settings.h"
#include "settings/settings_fields.h"
#include "settings/settings_store.h"

const char* const ProductSettingsKey = "Software\\Orvane\\Morrowby\\Settings";

void DeleteProductSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, ProductSettingsKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, ProductSettingsKey);
}

void WriteProductSetting(const char* name, const std::string& text) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ProductSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text.c_str(), (DWORD)text.size() + 1);
    RegCloseKey(key);
}

void WriteProductSettings(const std::vector<std::pair<std::string, std::string>>& changes) {
    const SettingsRecord firstRun;
    DeleteProductSettings();
    for (const SettingsField& field : SettingsFields) {
        std::string text = StoredText(field, firstRun);
        for (const auto& change : changes)
            if (change.first == field.Name)
                text = change.second;
        WriteProductSetting(field.Name, text);
    }
}

void WriteProductUnlockWord(const std::string& word) {
    WriteProductSetting("Password", ScrambleUnlockWord(word));
}

bool ReadProductSetting(const char* name, std::string* data, DWORD* type) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ProductSettingsKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    BYTE buffer[4096];
    DWORD size = sizeof buffer, valueType = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &valueType, buffer, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    if (type)
        *type = valueType;
    if (data) {
        if ((valueType == REG_SZ || valueType == REG_EXPAND_SZ) && size > 0 &&
            buffer[size - 1] == 0)
            size--;
        data->assign((const char*)buffer, size);
    }
    return true;
}

std::vector<std::string> ValueNamesUnder(const char* path) {
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; index++) {
        char name[300];
        DWORD length = sizeof name;
        if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}
