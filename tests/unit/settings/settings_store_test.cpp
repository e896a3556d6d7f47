// Loading and saving the settings record through the real registry of the
// test prefix, under the test settings key.
#include "support/in_process_app.h"
#include "support/registry_write_recorder.h"
#include "settings/key_path.h"
#include "settings/limits_store.h"
#include "settings/settings_fields.h"
#include "settings/settings_store.h"
#include "win/registry.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

static const char* const TestKey = "Software\\Orvane\\MorrowbyTest\\Settings\\";

// What the first run stores, value by value in the order written: the one
// place the tests spell it out (everything else goes by the settings table).
static const char* const FirstRunOrder[11] = {
    "EnableLockAtStartup", "EnableTouchShield", "EnableBlueLightReduction",
    "GreenGamma",          "Password",          "EnableYouTubeCount",
    "DisableKeyboard",     "DisableMouse",      "Prompt",
    "YouTubeMax",          "BlueMenu"};
static const char* const FirstRunTexts[11] = {"0", "1", "0", "0", "", "0", "1", "0", "0", "1", "0"};
static const SettingsKey Opened = SettingsKey::Opened;

static void WriteValue(const char* name, DWORD type, const std::string& data) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, TestKey, 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

static void WriteText(const char* name, const std::string& text) {
    WriteValue(name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

static void DeleteValue(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TestKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

static void WriteFirstRunKey() {
    const SettingsRecord firstRun;
    for (const SettingsField& field : SettingsFields)
        WriteText(field.Name, StoredText(field, firstRun));
}

// False when the value is missing; otherwise its exact bytes and type.
static bool ReadValue(const char* name, std::string* data, DWORD* type) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TestKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[4096];
    DWORD size = sizeof buffer;
    LONG result =
        RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    data->assign(buffer, size);
    return true;
}

static DWORD ValueCount() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TestKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count;
}

static void ExpectFirstRunRecord() {
    EXPECT_FALSE(Settings.EnableLockAtStartup);
    EXPECT_TRUE(Settings.EnableTouchShield);
    EXPECT_FALSE(Settings.EnableBlueLightReduction);
    EXPECT_EQ(0, Settings.GreenGamma);
    EXPECT_EQ("", Settings.Password);
    EXPECT_FALSE(Settings.EnableYouTubeCount);
    EXPECT_TRUE(Settings.DisableKeyboard);
    EXPECT_FALSE(Settings.DisableMouse);
    EXPECT_FALSE(Settings.Prompt);
    EXPECT_EQ(1, Settings.YouTubeMax);
    EXPECT_EQ(0, Settings.BlueMenu);
}

class SettingsStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteRegistryTree(TestKey);
        SettingsKeyPath = TestKey;
        Settings = SettingsRecord();
    }
    void TearDown() override {
        StopRecordingRegistryWrites();
        DeleteRegistryTree(TestKey);
    }
};

TEST_F(SettingsStoreTest, FirstRunWritesTheDefaultsInOrderAndReadsThemBack) {
    StartRecordingRegistryWrites();
    EXPECT_EQ(Opened, LoadSettings());
    std::vector<RecordedWrite> writes = RecordedWrites();
    StopRecordingRegistryWrites();

    ASSERT_EQ(11u, writes.size());
    ASSERT_EQ(11u, sizeof SettingsFields / sizeof SettingsFields[0]);
    for (int i = 0; i < 11; i++) {
        SCOPED_TRACE(FirstRunOrder[i]);
        EXPECT_STREQ(FirstRunOrder[i], SettingsFields[i].Name);
        EXPECT_EQ(FirstRunOrder[i], writes[i].name);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), writes[i].type);
        // The terminator is part of the data.
        EXPECT_EQ(std::string(FirstRunTexts[i]) + '\0', writes[i].data);

        std::string data;
        DWORD type = 0;
        ASSERT_TRUE(ReadValue(FirstRunOrder[i], &data, &type));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        EXPECT_EQ(std::string(FirstRunTexts[i]) + '\0', data);
    }
    EXPECT_EQ(11u, ValueCount());
    ExpectFirstRunRecord();

    // A second start reads the same record back and writes nothing.
    Settings.BlueMenu = 3;
    Settings.EnableTouchShield = false;
    Settings.YouTubeMax = 4;
    StartRecordingRegistryWrites();
    EXPECT_EQ(Opened, LoadSettings());
    EXPECT_TRUE(RecordedWrites().empty());
    ExpectFirstRunRecord();
}

TEST_F(SettingsStoreTest, SaveWritesEveryFieldAndLoadReadsItBack) {
    SettingsRecord saved;
    saved.EnableLockAtStartup = true;
    saved.EnableTouchShield = false;
    saved.EnableBlueLightReduction = true;
    saved.GreenGamma = -128;
    saved.Password = "toddler";
    saved.EnableYouTubeCount = true;
    saved.DisableKeyboard = false;
    saved.DisableMouse = true;
    saved.Prompt = true;
    saved.YouTubeMax = 5;
    saved.BlueMenu = 3;
    Settings = saved;
    EXPECT_EQ(Opened, SaveSettings());
    Settings = SettingsRecord();
    EXPECT_EQ(Opened, LoadSettings());

    EXPECT_TRUE(Settings.EnableLockAtStartup);
    EXPECT_FALSE(Settings.EnableTouchShield);
    EXPECT_TRUE(Settings.EnableBlueLightReduction);
    EXPECT_EQ(-128, Settings.GreenGamma);
    EXPECT_EQ("toddler", Settings.Password);
    EXPECT_TRUE(Settings.EnableYouTubeCount);
    EXPECT_FALSE(Settings.DisableKeyboard);
    EXPECT_TRUE(Settings.DisableMouse);
    EXPECT_TRUE(Settings.Prompt);
    EXPECT_EQ(5, Settings.YouTubeMax);
    EXPECT_EQ(3, Settings.BlueMenu);
    EXPECT_EQ(11u, ValueCount());
}

// An existing key is read as it is: a missing value takes its value when
// missing, and the key is not completed, whether a few values are missing or
// all of them.
TEST_F(SettingsStoreTest, MissingValuesTakeTheirValuesWhenMissing) {
    const std::vector<std::string> some = {"BlueMenu",          "YouTubeMax",      "GreenGamma",
                                           "EnableTouchShield", "DisableKeyboard", "Password"};
    for (bool all : {false, true}) {
        SCOPED_TRACE(all ? "every value missing" : "six values missing");
        WriteFirstRunKey();
        WriteText("GreenGamma", "50");
        WriteText("BlueMenu", "2");
        WriteText("YouTubeMax", "3");
        WriteText("Prompt", "1");
        for (const SettingsField& field : SettingsFields)
            if (all || std::find(some.begin(), some.end(), field.Name) != some.end())
                DeleteValue(field.Name);
        Settings.Password = "stale";

        EXPECT_EQ(Opened, LoadSettings());
        EXPECT_EQ(1, Settings.BlueMenu);
        EXPECT_EQ(1, Settings.YouTubeMax);
        EXPECT_EQ(0, Settings.GreenGamma);
        EXPECT_FALSE(Settings.EnableTouchShield);
        EXPECT_FALSE(Settings.DisableKeyboard);
        EXPECT_EQ("", Settings.Password);
        EXPECT_EQ(!all, Settings.Prompt);
        EXPECT_EQ(all ? 0u : 11u - 6u, ValueCount());
    }
}

struct OddText {
    const char* text;
    bool absent; // the conversion fails: the field takes its absent value
    int number;
};

static const OddText OddTexts[] = {
    {" 12x", false, 12},
    {"0x1", false, 0},
    {"2", false, 2},
    {"-1", false, -1},
    {"9", false, 9},
    {"\t+7", false, 7},
    {"-2147483648", false, INT_MIN},
    {"2147483647", false, INT_MAX},
    {"2147483648", true, 0},
    {"99999999999", true, 0},
    {"-99999999999999999999999", true, 0},
    {"abc", true, 0},
    {"-", true, 0},
    {" ", true, 0},
    {"", true, 0},
};

TEST_F(SettingsStoreTest, OddTextsInNumbersAndFlags) {
    for (const OddText& odd : OddTexts) {
        SCOPED_TRACE(std::string("text \"") + odd.text + "\"");
        WriteFirstRunKey();
        WriteText("GreenGamma", odd.text);
        WriteText("YouTubeMax", odd.text);
        WriteText("BlueMenu", odd.text);
        WriteText("Prompt", odd.text);
        WriteText("DisableKeyboard", odd.text);
        Settings.GreenGamma = 77;
        Settings.YouTubeMax = 77;
        Settings.BlueMenu = 77;

        EXPECT_EQ(Opened, LoadSettings());
        EXPECT_EQ(odd.absent ? 0 : odd.number, Settings.GreenGamma);
        EXPECT_EQ(odd.absent ? 1 : odd.number, Settings.YouTubeMax);
        EXPECT_EQ(odd.absent ? 1 : odd.number, Settings.BlueMenu);
        bool flag = !odd.absent && odd.number != 0;
        EXPECT_EQ(flag, Settings.Prompt);
        EXPECT_EQ(flag, Settings.DisableKeyboard);
        EXPECT_EQ(flag, ParseFlag(odd.text));
        // The other values still load.
        EXPECT_TRUE(Settings.EnableTouchShield);
    }
}

TEST_F(SettingsStoreTest, ValuesOfOtherTypesReadAsText) {
    struct Case {
        const char* name;
        DWORD type;
        std::string data;
    };
    const DWORD one = 1, five = 5, all = 4294967295u;
    const Case cases[] = {
        {"Prompt", REG_DWORD, std::string(reinterpret_cast<const char*>(&one), 4)},
        {"YouTubeMax", REG_DWORD, std::string(reinterpret_cast<const char*>(&five), 4)},
        {"BlueMenu", REG_DWORD, std::string(reinterpret_cast<const char*>(&all), 4)},
        {"GreenGamma", REG_MULTI_SZ, std::string("-12\0x\0\0", 7)},
        {"DisableMouse", REG_BINARY, std::string("1", 1)},
        {"EnableYouTubeCount", REG_EXPAND_SZ, std::string("1\0", 2)},
        {"DisableKeyboard", REG_EXPAND_SZ, std::string("1\0", 2)},
    };
    WriteFirstRunKey();
    for (const Case& item : cases) {
        DeleteValue(item.name);
        WriteValue(item.name, item.type, item.data);
    }
    EXPECT_EQ(Opened, LoadSettings());
    EXPECT_TRUE(Settings.Prompt);
    EXPECT_EQ(5, Settings.YouTubeMax);
    // 4294967295 does not fit a signed 32-bit field: taken as absent.
    EXPECT_EQ(1, Settings.BlueMenu);
    EXPECT_EQ(-12, Settings.GreenGamma);
    EXPECT_TRUE(Settings.DisableMouse);
    // REG_EXPAND_SZ is not read at all.
    EXPECT_FALSE(Settings.EnableYouTubeCount);
    EXPECT_FALSE(Settings.DisableKeyboard);
}

TEST_F(SettingsStoreTest, OversizedAndOverlongValuesAreSkipped) {
    WriteFirstRunKey();
    WriteText("Prompt", std::string(2046, ' ') + "1");     // 2048 bytes with terminator
    WriteText("YouTubeMax", std::string(2047, ' ') + "4"); // 2049 bytes
    WriteText(std::string(259, 'a').c_str(), "x");
    WriteText(std::string(260, 'b').c_str(), "y");
    EXPECT_EQ(Opened, LoadSettings());
    EXPECT_TRUE(Settings.Prompt);
    EXPECT_EQ(1, Settings.YouTubeMax);
    EXPECT_TRUE(Settings.DisableKeyboard);
    EXPECT_TRUE(Settings.EnableTouchShield);
}

TEST_F(SettingsStoreTest, TextWithoutTerminator) {
    WriteFirstRunKey();
    WriteValue("YouTubeMax", REG_SZ, "3");
    WriteValue("Prompt", REG_SZ, "1");
    EXPECT_EQ(Opened, LoadSettings());
    EXPECT_EQ(3, Settings.YouTubeMax);
    EXPECT_TRUE(Settings.Prompt);
}

TEST_F(SettingsStoreTest, ShortPasswordTextsGiveNoWord) {
    const char* const texts[] = {"", "a", "abcd"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        WriteFirstRunKey();
        WriteText("Password", text);
        Settings.Password = "stale";
        EXPECT_EQ(Opened, LoadSettings());
        EXPECT_EQ("", Settings.Password);
    }
}

static std::string StoredPassword() {
    std::string data;
    DWORD type = 0;
    EXPECT_TRUE(ReadValue("Password", &data, &type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    return data;
}

TEST_F(SettingsStoreTest, UnlockWordsAreStoredWithAllTheirBytes) {
    Settings.Password = "";
    EXPECT_EQ(Opened, SaveSettings());
    EXPECT_EQ(std::string(1, '\0'), StoredPassword());

    Settings.Password = "a";
    EXPECT_EQ(Opened, SaveSettings());
    // Five bytes of scrambled word, then the terminator.
    EXPECT_EQ(std::string("\xC4\x1F\x2C\x0E\x40", 5) + '\0', StoredPassword());
}

static void ExpectWordSurvivesSaveAndLoad(const std::string& word) {
    Settings.Password = word;
    ASSERT_EQ(Opened, SaveSettings());
    std::string stored = StoredPassword();
    EXPECT_EQ(word.size() + 5, stored.size());
    Settings.Password = "different";
    ASSERT_EQ(Opened, LoadSettings());
    EXPECT_EQ(word, Settings.Password);
}

TEST_F(SettingsStoreTest, EveryLastByteSurvivesSaveAndLoad) {
    for (int last = 0; last < 256; last++) {
        std::string word = "Nap~Mo!" + std::string(1, static_cast<char>(last));
        SCOPED_TRACE(testing::Message() << "last byte " << last);
        ExpectWordSurvivesSaveAndLoad(word);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(SettingsStoreTest, WordsRepeatingTheirLastByteSurviveSaveAndLoad) {
    const unsigned char lasts[] = {'a', '~', 'M', 'o', '!', 0xA5, 0xFF, 0x80, ' '};
    for (unsigned char last : lasts) {
        for (size_t length = 1; length <= 14; length++) {
            std::string word(length, static_cast<char>(last));
            SCOPED_TRACE(testing::Message() << "byte " << int(last) << " x " << length);
            ExpectWordSurvivesSaveAndLoad(word);
            // The same byte every other place.
            std::string mixed(length, 'q');
            for (size_t i = 0; i < length; i += 2)
                mixed[length - 1 - i] = static_cast<char>(last);
            ExpectWordSurvivesSaveAndLoad(mixed);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(UnlockWordScrambling, RoundTrip) {
    const std::string words[] = {"a",
                                 "Z",
                                 "toddler",
                                 "12345678901234",
                                 "aaaa",
                                 "~Mo!",
                                 std::string("\xA5", 1),
                                 std::string("\xE9t\xE9", 3)};
    for (const std::string& word : words) {
        SCOPED_TRACE(word);
        std::string scrambled = ScrambleUnlockWord(word);
        EXPECT_EQ(word.size() + 4, scrambled.size());
        EXPECT_NE(word, scrambled.substr(0, word.size()));
        EXPECT_EQ(word, UnscrambleUnlockWord(scrambled));
    }
    EXPECT_EQ("", ScrambleUnlockWord(""));
    EXPECT_EQ("", UnscrambleUnlockWord(""));
    EXPECT_EQ("", UnscrambleUnlockWord("abcd"));
}

class FailingKeyTest : public testing::Test {
  protected:
    // Under a volatile key no lasting subkey can be created: the one failure
    // of the settings key that a test can bring about without touching
    // anything but its own keys.
    const char* volatileParent = "Software\\Orvane\\MorrowbyTest\\Volatile";
    void SetUp() override {
        DeleteRegistryTree(volatileParent);
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_CURRENT_USER, volatileParent, 0, nullptr,
                                  REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegCloseKey(key);
        SettingsKeyPath = "Software\\Orvane\\MorrowbyTest\\Volatile\\Settings\\";
    }
    void TearDown() override { DeleteRegistryTree(volatileParent); }
};

TEST_F(FailingKeyTest, LoadAndSaveReportAnUnreadableKeyAndChangeNothing) {
    SettingsRecord before;
    before.Password = "keep";
    before.BlueMenu = 2;
    before.GreenGamma = 33;
    Settings = before;
    EXPECT_EQ(SettingsKey::Unreadable, LoadSettings());
    EXPECT_EQ(SettingsKey::Unreadable, SaveSettings());
    EXPECT_EQ("keep", Settings.Password);
    EXPECT_EQ(2, Settings.BlueMenu);
    EXPECT_EQ(33, Settings.GreenGamma);
    EXPECT_TRUE(Settings.DisableKeyboard);
    EXPECT_FALSE(RegistryKeyExists(SettingsKeyPath.c_str(), HKEY_CURRENT_USER));
}

TEST(SettingsKeyPath, StartUpBuildsTheProductPath) {
    const std::string saved = SettingsKeyPath;
    InitSettingsKeyPath();
    EXPECT_EQ("Software\\Orvane\\Morrowby\\Settings\\", SettingsKeyPath);
    InitSettingsKeyPath(); // built, not appended to
    EXPECT_EQ("Software\\Orvane\\Morrowby\\Settings\\", SettingsKeyPath);
    // The gamma record and the viewing-time limit lie beside the settings,
    // under the key the installer removes.
    EXPECT_EQ("Software\\Orvane\\Morrowby\\SavedGamma", ProductKeyPath("SavedGamma"));
    EXPECT_EQ(L"Software\\Orvane\\Morrowby\\Limits", LimitsKeyPath());
    SettingsKeyPath = saved;
}
