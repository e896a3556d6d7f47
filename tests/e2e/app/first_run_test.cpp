// The real program's own settings key: what a first start leaves behind, and
// that a hand-edited key does not stop the program from starting.
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include <gtest/gtest.h>
#include <algorithm>

static const char* const FirstRunNames[11] = {
    "EnableLockAtStartup", "EnableTouchShield", "EnableBlueLightReduction",
    "GreenGamma",          "Password",          "EnableYouTubeCount",
    "DisableKeyboard",     "DisableMouse",      "Prompt",
    "YouTubeMax",          "BlueMenu"};
static const char* const FirstRunTexts[11] = {"0", "1", "0", "0", "", "0", "1", "0", "0", "1", "0"};

// Exact byte count of a value, to see that the terminator was stored.
static DWORD StoredSize(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ProductSettingsKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return 0;
    DWORD size = 0;
    RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
    RegCloseKey(key);
    return size;
}

static void DeleteProductSetting(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ProductSettingsKey, 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

// The program also answers sent messages for a moment while it adds its tray
// icon and while the splash pumps, before its start-up pauses; only a window
// that keeps answering for a second has reached its message loop.
static bool WaitUntilAnswering(MorrowbyProcess& program) {
    if (!program.WaitUntilReady())
        return false;
    DWORD start = GetTickCount();
    DWORD answeringSince = 0;
    bool answering = false;
    while (GetTickCount() - start < 30000 && program.Running()) {
        DWORD_PTR result = 0;
        DWORD now = GetTickCount();
        if (SendMessageTimeoutA(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 200, &result)) {
            if (!answering)
                answeringSince = now;
            answering = true;
            if (GetTickCount() - answeringSince >= 1000)
                return true;
        } else {
            answering = false;
        }
        Sleep(100);
    }
    return false;
}

static void ExitAndExpectCleanEnd(MorrowbyProcess& program) {
    program.PostCommand(105);
    DWORD code = 1234;
    ASSERT_TRUE(program.WaitForExit(15000, &code));
    EXPECT_EQ(0u, code);
}

class FirstRunTest : public testing::Test {
  protected:
    void SetUp() override { KillAllMorrowby(); }
    void TearDown() override {
        KillAllMorrowby();
        DeleteProductSettings();
    }
};

TEST_F(FirstRunTest, FirstStartWritesExactlyTheElevenDefaults) {
    DeleteProductSettings();
    MorrowbyProcess program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitUntilAnswering(program));

    std::vector<std::string> names = ProductSettingNames();
    std::vector<std::string> expected(FirstRunNames, FirstRunNames + 11);
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, names);
    for (int i = 0; i < 11; i++) {
        SCOPED_TRACE(FirstRunNames[i]);
        std::string text;
        DWORD type = 0;
        ASSERT_TRUE(ReadProductSetting(FirstRunNames[i], &text, &type));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        EXPECT_EQ(FirstRunTexts[i], text);
        EXPECT_EQ(text.size() + 1, StoredSize(FirstRunNames[i]));
    }
    ExitAndExpectCleanEnd(program);
}

TEST_F(FirstRunTest, HandEditedKeyStartsCleanlyAndIsLeftAsItWas) {
    WriteProductSettings({{"EnableLockAtStartup", "abc"},
                          {"GreenGamma", "99999999999"},
                          {"YouTubeMax", " 12x"},
                          {"Prompt", "0x1"},
                          {"EnableBlueLightReduction", "-1"},
                          {"BlueMenu", ""},
                          {"Password", "abc"}});
    DeleteProductSetting("DisableKeyboard");
    DeleteProductSetting("EnableTouchShield");
    DeleteProductSetting("DisableMouse");
    // A value whose name is too long to be read.
    WriteProductSetting(std::string(300, 'z').c_str(), "1");
    std::vector<std::string> before = ProductSettingNames();

    MorrowbyProcess program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitUntilAnswering(program));

    // Loading never writes: the deleted values stay deleted, the odd texts stay.
    EXPECT_EQ(before, ProductSettingNames());
    std::string text;
    EXPECT_FALSE(ReadProductSetting("DisableKeyboard", &text));
    ASSERT_TRUE(ReadProductSetting("YouTubeMax", &text));
    EXPECT_EQ(" 12x", text);
    ExitAndExpectCleanEnd(program);
}
