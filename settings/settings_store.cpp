// The settings record, its per-user registry key and the scrambling of the
// unlock word.
#include "settings_store.h"
#include "registry.h"
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

SettingsRecord Settings;
char SettingsKeyPath[SettingsKeyPathSize];
// The suffix appended to the unlock word before it is scrambled, and the byte
// that hides its last character. Changing either makes every stored unlock
// word unreadable.
char UnlockWordSuffix[5] = {0x7E, 0x4D, 0x6F, 0x21, 0};
unsigned char UnlockWordKeyByte = 0xA5;

static void AppendToKeyPath(const char* part);
static int ParseInteger(const std::string& text, int absentValue);
static std::string StoredUnlockText(CRegistry& registry);
static void SetFlag(CRegistry& registry, const char* name, bool value);
static void SetNumber(CRegistry& registry, const char* name, int value);

static const REGSAM SettingsAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

static void AppendToKeyPath(const char* part) {
    size_t used = strlen(SettingsKeyPath);
    size_t room = SettingsKeyPathSize - 1 - used;
    size_t length = strlen(part);
    if (length > room)
        length = room;
    memcpy(SettingsKeyPath + used, part, length);
    SettingsKeyPath[used + length] = 0;
}

void InitSettingsKeyPath(const char* maker, const char* product) {
    AppendToKeyPath("Software\\");
    AppendToKeyPath(maker);
    AppendToKeyPath("\\");
    AppendToKeyPath(product);
    AppendToKeyPath("\\Settings\\");
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
static std::string StoredUnlockText(CRegistry& registry) {
    std::string bytes;
    if (registry.ReadByteText("Password", &bytes))
        return bytes;
    return registry.Entry("Password")->GetText();
}

int LoadSettings() {
    CRegistry registry(true);
    if (!RegistryKeyExists(SettingsKeyPath, HKEY_CURRENT_USER))
        SaveSettings();
    if (!registry.Open(SettingsKeyPath, HKEY_CURRENT_USER, SettingsAccess, false))
        return SettingsKeyUnreadable;
    auto text = [&](const char* name) { return std::string(registry.Entry(name)->GetText()); };
    Settings.EnableLockAtStartup = ParseFlag(text("EnableLockAtStartup").c_str());
    Settings.EnableYouTubeCount = ParseFlag(text("EnableYouTubeCount").c_str());
    Settings.YouTubeMax = ParseInteger(text("YouTubeMax"), 1);
    Settings.BlueMenu = ParseInteger(text("BlueMenu"), 1);
    Settings.DisableKeyboard = ParseFlag(text("DisableKeyboard").c_str());
    Settings.Prompt = ParseFlag(text("Prompt").c_str());
    Settings.DisableMouse = ParseFlag(text("DisableMouse").c_str());
    Settings.EnableTouchShield = ParseFlag(text("EnableTouchShield").c_str());
    Settings.EnableBlueLightReduction = ParseFlag(text("EnableBlueLightReduction").c_str());
    Settings.GreenGamma = ParseInteger(text("GreenGamma"), 0);
    Settings.Password = UnscrambleUnlockWord(StoredUnlockText(registry));
    return SettingsKeyOpened;
}

static void SetFlag(CRegistry& registry, const char* name, bool value) {
    registry.Entry(name)->SetText(value ? "1" : "0");
}

static void SetNumber(CRegistry& registry, const char* name, int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    registry.Entry(name)->SetText(text);
}

int SaveSettings() {
    CRegistry registry(true);
    if (!registry.Open(SettingsKeyPath, HKEY_CURRENT_USER, SettingsAccess, false))
        return SettingsKeyUnreadable;
    SetFlag(registry, "EnableLockAtStartup", Settings.EnableLockAtStartup);
    SetFlag(registry, "EnableTouchShield", Settings.EnableTouchShield);
    SetFlag(registry, "EnableBlueLightReduction", Settings.EnableBlueLightReduction);
    SetNumber(registry, "GreenGamma", Settings.GreenGamma);
    std::string scrambled = ScrambleUnlockWord(Settings.Password);
    registry.Entry("Password")->SetByteText(scrambled.data(), static_cast<DWORD>(scrambled.size()));
    SetFlag(registry, "EnableYouTubeCount", Settings.EnableYouTubeCount);
    SetFlag(registry, "DisableKeyboard", Settings.DisableKeyboard);
    SetFlag(registry, "DisableMouse", Settings.DisableMouse);
    SetFlag(registry, "Prompt", Settings.Prompt);
    SetNumber(registry, "YouTubeMax", Settings.YouTubeMax);
    SetNumber(registry, "BlueMenu", Settings.BlueMenu);
    return SettingsKeyOpened;
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
