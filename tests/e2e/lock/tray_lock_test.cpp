// The real program with its first-run settings (keyboard and touch shield,
// no unlock word), locked and unlocked from the tray and the padlock.
#include "lock_driver.h"
#include "support/product_settings.h"
#include <gtest/gtest.h>

namespace {

class TrayLockTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        KillAllMorrowby();
        WriteProductSettings({});
        watcher = InstallKeyWatcher();
        program = new MorrowbyProcess;
        ready = program->Start() && program->WaitUntilReady();
    }
    static void TearDownTestSuite() {
        delete program;
        program = nullptr;
        UnhookWindowsHookEx(watcher);
        KillAllMorrowby();
    }
    void SetUp() override { ASSERT_TRUE(ready); }

    static HWND Cover() { return FindProcessWindow(program->ProcessId(), "Cover"); }
    static HWND Padlock() { return FindProcessWindow(program->ProcessId(), "UnlockImage"); }
    // Waits, and notes every balloon the shell shows meanwhile.
    static bool WaitNoting(const std::function<bool()>& condition, DWORD timeoutMs) {
        return WaitUntil(
            [&] {
                CollectTrayTexts(&trayTexts);
                return condition();
            },
            timeoutMs);
    }
    static bool KeysGetThrough() {
        SeenKeys().clear();
        Inject(Taps({'K', VK_F5}));
        return KeySeen('K') && KeySeen(VK_F5);
    }

    static MorrowbyProcess* program;
    static HHOOK watcher;
    static bool ready;
    static std::set<std::string> trayTexts;
};
MorrowbyProcess* TrayLockTest::program = nullptr;
HHOOK TrayLockTest::watcher = nullptr;
bool TrayLockTest::ready = false;
std::set<std::string> TrayLockTest::trayTexts;

TEST_F(TrayLockTest, KeysPassWhileUnlocked) {
    EXPECT_TRUE(KeysGetThrough());
    EXPECT_EQ(Cover(), nullptr);
}

TEST_F(TrayLockTest, DoubleTapDuringTheCountdownCancelsIt) {
    program->PostTrayMessage(WM_LBUTTONDBLCLK);
    WaitNoting([] { return false; }, 2000);
    program->PostTrayMessage(WM_LBUTTONDBLCLK);
    // Well past the moment the lock would have engaged.
    EXPECT_FALSE(WaitNoting([] { return Cover() != nullptr; }, 11000));
    EXPECT_TRUE(KeysGetThrough());
}

TEST_F(TrayLockTest, LockedKeysReachNoOtherHook) {
    program->PostTrayMessage(WM_LBUTTONDBLCLK);
    DWORD start = GetTickCount();
    ASSERT_TRUE(WaitNoting([] { return Cover() != nullptr && Padlock() != nullptr; }, 30000));
    EXPECT_GE(GetTickCount() - start, 9000u);
    // The shell shows one balloon at a time, so the last one can come late.
    WaitNoting([] { return trayTexts.count("Now locked") != 0; }, 8000);
    SeenKeys().clear();
    Inject(Taps({'A', '1', VK_ESCAPE, VK_RETURN, VK_LWIN, VK_F4}));
    // Alt+Tab and Ctrl+Esc too.
    Inject({KeyInput(VK_MENU, false), KeyInput(VK_TAB, false), KeyInput(VK_TAB, true),
            KeyInput(VK_MENU, true), KeyInput(VK_CONTROL, false), KeyInput(VK_ESCAPE, false),
            KeyInput(VK_ESCAPE, true), KeyInput(VK_CONTROL, true)});
    EXPECT_TRUE(SeenKeys().empty()) << SeenKeys().size() << " keys got past the lock";
}

TEST_F(TrayLockTest, TapOnThePadlockBodyUnlocks) {
    HWND padlock = Padlock();
    ASSERT_NE(padlock, nullptr);
    RECT where = {};
    GetWindowRect(padlock, &where);
    // The yellow body, low in the picture.
    const int x = where.left + 40, y = where.top + 100;
    Inject({MouseInput(x, y, 0), MouseInput(x, y, MOUSEEVENTF_LEFTDOWN),
            MouseInput(x, y, MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(WaitNoting([] { return Cover() == nullptr && Padlock() == nullptr; }, 3000));
    EXPECT_TRUE(KeysGetThrough());
}

TEST_F(TrayLockTest, SecondDoubleTapUnlocks) {
    program->PostTrayMessage(WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitNoting([] { return Cover() != nullptr; }, 30000));
    EXPECT_FALSE(KeysGetThrough());
    program->PostTrayMessage(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitNoting([] { return Cover() == nullptr; }, 3000));
    EXPECT_TRUE(KeysGetThrough());
    EXPECT_TRUE(program->Running());
}

// Reads the balloons from the shell's own tooltip windows; this needs the tray
// that sends balloon texts to the shell.
TEST_F(TrayLockTest, ShellShowedTheCountdownBalloons) {
    for (const char* text : {"10 seconds until lock", "5 seconds", "Now locked"})
        EXPECT_EQ(trayTexts.count(text), 1u) << text;
}

} // namespace
