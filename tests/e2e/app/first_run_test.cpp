// The real program with a hand-edited settings key: it starts, and loading
// leaves the key as it was. (What a first start writes: program_test.cpp.)
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include <gtest/gtest.h>

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

using FirstRunTest = ProgramTest;

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
