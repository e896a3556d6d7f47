// The scrambled unlock word is bytes kept as text; whatever the system's code
// page, the word set before a restart must match after it. Run by CTest under
// code page 1252 and again under 1251 and 936 (MORROWBY_EXPECTED_ACP says
// which, so a locale that failed to take effect cannot pass as a success).
#include "support/in_process_app.h"
#include "win/registry.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <ostream>

namespace {

const char* const TestKey = "Software\\Orvane\\MorrowbyTest\\CodePage\\Settings\\";

struct WordRow {
    const char* name;
    std::string word;
};

void PrintTo(const WordRow& row, std::ostream* out) {
    *out << row.name;
}

class UnlockWordCodePage : public ::testing::TestWithParam<WordRow> {
  protected:
    void SetUp() override {
        char expected[16] = {};
        if (GetEnvironmentVariableA("MORROWBY_EXPECTED_ACP", expected, sizeof expected)) {
            ASSERT_EQ((UINT)atoi(expected), GetACP()) << "the locale did not take effect";
        }
        DeleteRegistryTree(TestKey);
        SettingsKeyPath = TestKey;
        Settings = SettingsRecord();
    }
    void TearDown() override { DeleteRegistryTree(TestKey); }
};

TEST_P(UnlockWordCodePage, TheWordMatchesAfterARestart) {
    Settings.Password = GetParam().word;
    ASSERT_EQ(SettingsKey::Opened, SaveSettings());
    Settings.Password = "other";
    ASSERT_EQ(SettingsKey::Opened, LoadSettings());
    EXPECT_EQ(GetParam().word, Settings.Password);
}

// As the earlier version stored it: the scrambled bytes through the ANSI call,
// as text of the system code page. Every word the earlier version could read
// back still unlocks, and the next save stores it in today's form.
TEST_P(UnlockWordCodePage, AWordStoredByTheAnsiCallsStillUnlocks) {
    const std::string word = GetParam().word;
    const std::string stored = ScrambleUnlockWord(word);
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, TestKey, 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr));
    RegSetValueExA(key, "Password", 0, REG_SZ, (const BYTE*)(stored + '\0').data(),
                   (DWORD)stored.size() + 1);
    char readBack[64] = {};
    DWORD size = sizeof readBack;
    RegQueryValueExA(key, "Password", nullptr, nullptr, (BYTE*)readBack, &size);
    RegCloseKey(key);
    if (std::string(readBack, size ? size - 1 : 0) != stored)
        GTEST_SKIP() << "the earlier version could not read this word back either";
    ASSERT_EQ(SettingsKey::Opened, LoadSettings());
    EXPECT_EQ(word, Settings.Password); // as the settings dialog shows it
    EXPECT_TRUE(IsUnlockWord(Settings, word));
    EXPECT_FALSE(IsUnlockWord(Settings, word + "x"));
    ASSERT_EQ(SettingsKey::Opened, SaveSettings()); // the dialog's OK
    CRegistry registry(false);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, true));
    std::string today;
    ASSERT_TRUE(registry.ReadByteText("Password", &today));
    EXPECT_EQ(stored, today);
}

// Words of 1 to 14 characters; the last character decides the scrambled
// byte at or above 0x80 (an ASCII word has one), e.g. '8' gives 0x9D, one of
// the five bytes code page 1252 leaves unassigned, and '-' gives 0x88, the
// euro sign of code page 1251, which code page 1252 has at 0x80.
INSTANTIATE_TEST_SUITE_P(
    Words, UnlockWordCodePage,
    ::testing::Values(WordRow{"Password", "password"}, WordRow{"OneLetter", "a"},
                      WordRow{"FourteenLetters", "abcdefghijklmn"}, WordRow{"Unassigned81", "pin$"},
                      WordRow{"Unassigned8D", "nap("}, WordRow{"Unassigned8F", "my*"},
                      WordRow{"Unassigned90", "12345"}, WordRow{"Unassigned9D", "bed8"},
                      WordRow{"Euro80", "\x25x\x25"}, WordRow{"Euro1251", "pen-"},
                      WordRow{"Accented", "\xE9t\xE9"}, WordRow{"Cyrillic", "\xEA\xEE\xF2"},
                      WordRow{"DoubleByte", "\xC3\xDC\xC2\xEB"}),
    [](const ::testing::TestParamInfo<WordRow>& row) { return std::string(row.param.name); });

TEST(UnlockWordCodePageBytes, EveryByteValueComesBack) {
    DeleteRegistryTree(TestKey);
    std::string bytes;
    for (int i = 0; i < 256; i++)
        bytes += static_cast<char>(i);
    CRegistry registry(true);
    ASSERT_TRUE(registry.Open(TestKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE | KEY_SET_VALUE, true));
    registry.Entry("Bytes")->SetByteText(bytes.data(), (DWORD)bytes.size());
    std::string read;
    ASSERT_TRUE(registry.ReadByteText("Bytes", &read));
    EXPECT_EQ(bytes, read);
    DeleteRegistryTree(TestKey);
}

} // namespace
