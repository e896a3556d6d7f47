// The viewing-time limit's values under the program's own key.
#include "limits_store.h"
#include "key_path.h"
#include "settings_store.h"
#include "../win/owner.h"
#include "../win/registry.h"
#include <windows.h>

static int ReadMinutes(HKEY key, const wchar_t* name, int least, int absent);
static void WriteMinutes(HKEY key, const wchar_t* name, int minutes);

// Beside whatever key the settings are kept under (tests keep theirs apart),
// the product's before that is set. The names in the path are plain ASCII.
std::wstring LimitsKeyPath() {
    std::string path = SettingsKeyPath;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    const size_t parent = path.rfind('\\');
    path = parent == std::string::npos ? ProductKeyPath("Limits")
                                       : path.substr(0, parent + 1) + "Limits";
    return std::wstring(path.begin(), path.end());
}

// The values may be written by hand: only plain decimal digits count, so a
// sign, blanks, "5x" or "0x10" are not read as some number the parent never
// meant; the value's type must be REG_SZ, as the program writes it.
static int ReadMinutes(HKEY key, const wchar_t* name, int least, int absent) {
    wchar_t text[16] = {};
    DWORD type = 0;
    DWORD size = sizeof text - sizeof text[0]; // room for a terminator the data may lack
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return absent;
    int value = 0;
    int digits = 0;
    for (const wchar_t* c = text; *c; c++, digits++) {
        if (*c < L'0' || *c > L'9' || value > MostLimitMinutes)
            return absent;
        value = value * 10 + (*c - L'0');
    }
    if (digits == 0 || value < least || value > MostLimitMinutes)
        return absent;
    return value;
}

ViewingLimits LoadViewingLimits(const wchar_t* keyPath) {
    const std::wstring path = keyPath ? keyPath : LimitsKeyPath();
    ViewingLimits limits;
    OwnedRegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE | RegistryViewFlag(),
                      key.Receive()) != ERROR_SUCCESS)
        return limits;
    limits.ViewingMinutes = ReadMinutes(key, L"ViewingMinutes", 1, 0);
    limits.FinishVideoMinutes =
        ReadMinutes(key, L"FinishVideoMinutes", 0, DefaultFinishVideoMinutes);
    return limits;
}

static void WriteMinutes(HKEY key, const wchar_t* name, int minutes) {
    wchar_t text[16];
    int length = wsprintfW(text, L"%d", minutes);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((length + 1) * sizeof text[0]));
}

bool SaveViewingLimits(const ViewingLimits& limits, const wchar_t* keyPath) {
    const std::wstring path = keyPath ? keyPath : LimitsKeyPath();
    OwnedRegistryKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | RegistryViewFlag(), nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    WriteMinutes(key, L"ViewingMinutes", limits.ViewingMinutes);
    WriteMinutes(key, L"FinishVideoMinutes", limits.FinishVideoMinutes);
    return true;
}
