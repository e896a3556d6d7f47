// The settings record, its per-user registry key and the scrambling of the
// unlock word.
#include "settings_store.h"
#include "key_path.h"
#include "settings_fields.h"
#include "../win/registry.h"
#include <cerrno>
#include <climits>
#include <cstdlib>

SettingsRecord Settings;
std::string SettingsKeyPath;

// The suffix appended to the unlock word before it is scrambled, and the byte
// that hides its last character. Changing either makes every stored unlock
// word unreadable.
static const char UnlockWordSuffix[5] = {0x7E, 0x4D, 0x6F, 0x21, 0};
static const unsigned char UnlockWordKeyByte = 0xA5;

static const REGSAM SettingsAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

void InitSettingsKeyPath() {
    SettingsKeyPath = ProductKeyPath("Settings\\");
}

// A hand-edited value may hold anything: text that does not start with a
// decimal integer, or one that does not fit in 32 bits, counts as absent
// rather than as whatever the conversion happens to leave behind.
static int ParseInteger(const std::string& text, int absentValue) {
    if (text.empty())
        return absentValue;
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long value = strtoll(start, &end, 10);
    if (end == start || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return absentValue;
    return static_cast<int>(value);
}

bool ParseFlag(const char* text) {
    return ParseInteger(text ? text : "", 0) != 0;
}

// The Password value may hold zero bytes (see ScrambleUnlockWord), so a
// REG_SZ is taken by its byte count, not up to its first zero, and its bytes
// must not depend on the system's code page.
static std::string StoredUnlockText(CRegistry& registry, const char* name) {
    std::string bytes;
    if (registry.ReadByteText(name, &bytes))
        return bytes;
    return registry.Entry(name)->GetText();
}

SettingsKey LoadSettings() {
    CRegistry registry(true);
    if (!RegistryKeyExists(SettingsKeyPath.c_str(), HKEY_CURRENT_USER))
        SaveSettings();
    if (!registry.Open(SettingsKeyPath.c_str(), HKEY_CURRENT_USER, SettingsAccess, false))
        return SettingsKey::Unreadable;
    for (const SettingsField& field : SettingsFields) {
        if (field.Word) {
            Settings.*field.Word = UnscrambleUnlockWord(StoredUnlockText(registry, field.Name));
            continue;
        }
        const int value = ParseInteger(registry.Entry(field.Name)->GetText(), field.WhenMissing);
        if (field.Flag)
            Settings.*field.Flag = value != 0;
        else
            Settings.*field.Number = value;
    }
    return SettingsKey::Opened;
}

std::string StoredText(const SettingsField& field, const SettingsRecord& record) {
    if (field.Flag)
        return record.*field.Flag ? "1" : "0";
    if (field.Word)
        return ScrambleUnlockWord(record.*field.Word);
    char text[16];
    wsprintfA(text, "%d", record.*field.Number);
    return text;
}

SettingsKey SaveSettings() {
    CRegistry registry(true);
    if (!registry.Open(SettingsKeyPath.c_str(), HKEY_CURRENT_USER, SettingsAccess, false))
        return SettingsKey::Unreadable;
    for (const SettingsField& field : SettingsFields) {
        const std::string text = StoredText(field, Settings);
        CRegEntry* entry = registry.Entry(field.Name);
        if (field.Word)
            entry->SetByteText(text.data(), static_cast<DWORD>(text.size()));
        else
            entry->SetText(text.c_str());
    }
    return SettingsKey::Opened;
}

// The word's own last byte hides every other byte, and the key byte hides the
// last one. Any of these can come out as a zero byte, which is why the value
// is stored and read by its byte count.
std::string ScrambleUnlockWord(const std::string& word) {
    size_t length = word.size();
    if (length == 0)
        return std::string();
    unsigned char last = static_cast<unsigned char>(word[length - 1]);
    std::string result = word + std::string(UnlockWordSuffix, 4);
    for (size_t i = 0; i < result.size(); i++) {
        unsigned char mask = i == length - 1 ? UnlockWordKeyByte : last;
        result[i] = static_cast<char>(static_cast<unsigned char>(result[i]) ^ mask);
    }
    return result;
}

std::string UnscrambleUnlockWord(const std::string& text) {
    const size_t suffixLength = 4;
    if (text.size() < suffixLength + 1)
        return std::string();
    size_t length = text.size() - suffixLength;
    unsigned char last = static_cast<unsigned char>(text[length - 1]) ^ UnlockWordKeyByte;
    std::string word(length, '\0');
    for (size_t i = 0; i + 1 < length; i++)
        word[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ last);
    word[length - 1] = static_cast<char>(last);
    return word;
}
