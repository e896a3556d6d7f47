// The settings record, its per-user registry key and the scrambling of the
// unlock word.
#include "settings_store.h"
#include "key_path.h"
#include "settings_fields.h"
#include "../win/code_page.h"
#include "../win/registry.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

SettingsRecord Settings;
std::string SettingsKeyPath;

// The suffix appended to the unlock word before it is scrambled, and the byte
// that hides its last character. Changing either makes every stored unlock
// word unreadable.
static const char UnlockWordSuffix[5] = {0x7E, 0x4D, 0x6F, 0x21, 0};
static const size_t UnlockWordSuffixLength = sizeof UnlockWordSuffix - 1;
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

static const UINT TodaysWordCodePage = 1252;

// The Password value may hold zero bytes (see ScrambleUnlockWord), so a
// REG_SZ is taken by its byte count, not up to its first zero, and its bytes
// must not depend on the system's code page.
static UnlockWordReadings StoredUnlockWord(CRegistry& registry, const char* name) {
    std::wstring stored;
    if (registry.ReadWideText(name, &stored))
        return ReadUnlockWord(stored, GetACP());
    return {UnscrambleUnlockWord(registry.Entry(name)->GetText()), std::string()};
}

// How well a reading of the stored text fits a scrambled word: its last four
// bytes must be the suffix hidden by the word's last byte (worth 2), and its
// bytes should give the stored text back (worth 1). A wrong reading almost
// always fails the suffix, as the last byte hides every byte after it.
static const int SuffixFits = 2;
static int ReadingFit(const std::string& text, bool exact) {
    bool suffix = text.size() > UnlockWordSuffixLength;
    if (suffix) {
        const size_t length = text.size() - UnlockWordSuffixLength;
        const unsigned char last = static_cast<unsigned char>(text[length - 1]) ^ UnlockWordKeyByte;
        for (size_t i = 0; i < UnlockWordSuffixLength && suffix; i++)
            suffix = (static_cast<unsigned char>(text[length + i]) ^ last) ==
                     static_cast<unsigned char>(UnlockWordSuffix[i]);
    }
    return (suffix ? SuffixFits : 0) + (exact ? 1 : 0);
}

UnlockWordReadings ReadUnlockWord(const std::wstring& stored, UINT systemCodePage) {
    std::string today, before;
    const bool todayExact = NarrowExactly(TodaysWordCodePage, stored, &today);
    UnlockWordReadings readings = {UnscrambleUnlockWord(today), std::string()};
    if (systemCodePage == TodaysWordCodePage)
        return readings;
    const bool beforeExact = NarrowExactly(systemCodePage, stored, &before);
    int fit = ReadingFit(today, todayExact), otherFit = ReadingFit(before, beforeExact);
    readings.before = UnscrambleUnlockWord(before);
    if (otherFit > fit) {
        readings.word.swap(readings.before);
        std::swap(fit, otherFit);
    }
    // A reading that is no scrambled word at all is noise, not a second word.
    if (readings.before == readings.word || otherFit < SuffixFits)
        readings.before.clear();
    return readings;
}

SettingsKey LoadSettings() {
    CRegistry registry(true);
    if (!RegistryKeyExists(SettingsKeyPath.c_str(), HKEY_CURRENT_USER))
        SaveSettings();
    if (!registry.Open(SettingsKeyPath.c_str(), HKEY_CURRENT_USER, SettingsAccess, false))
        return SettingsKey::Unreadable;
    for (const SettingsField& field : SettingsFields) {
        if (field.Word) {
            const UnlockWordReadings readings = StoredUnlockWord(registry, field.Name);
            Settings.*field.Word = readings.word;
            Settings.PasswordBefore = readings.before;
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
        if (field.Word) {
            entry->SetByteText(text.data(), static_cast<DWORD>(text.size()));
            Settings.PasswordBefore.clear(); // stored in today's form now
        } else
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
    std::string result = word + std::string(UnlockWordSuffix, UnlockWordSuffixLength);
    for (size_t i = 0; i < result.size(); i++) {
        unsigned char mask = i == length - 1 ? UnlockWordKeyByte : last;
        result[i] = static_cast<char>(static_cast<unsigned char>(result[i]) ^ mask);
    }
    return result;
}

std::string UnscrambleUnlockWord(const std::string& text) {
    if (text.size() < UnlockWordSuffixLength + 1)
        return std::string();
    size_t length = text.size() - UnlockWordSuffixLength;
    unsigned char last = static_cast<unsigned char>(text[length - 1]) ^ UnlockWordKeyByte;
    std::string word(length, '\0');
    for (size_t i = 0; i + 1 < length; i++)
        word[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ last);
    word[length - 1] = static_cast<char>(last);
    return word;
}
