// The real program with its first-run settings (keyboard and touch shield,
// no unlock word), locked and unlocked from the tray and the padlock.
#include "lock_driver.h"
#include "support/product_settings.h"
#include <gtest/gtest.h>

namespace {

const char* const CountdownBalloons[] = {"10 seconds until lock", "5 seconds", "Now locked"};

// Every test starts with the program unlocked and no countdown running.
class TrayLockTest : public SharedProgramTest<TrayLockTest> {
  public:
    static void StartProgram(MorrowbyProcess& starting) {
        WriteProductSettings({});
        ASSERT_TRUE(starting.Start() && starting.WaitUntilReady());
    }
    static bool InStartingState() { return Cover() == nullptr; }

  protected:
    void SetUp() override {
        SharedProgramTest::SetUp();
        trayTexts.clear();
    }

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
    // Locks from the tray: ten seconds of countdown.
    static bool LockFromTheTray() {
        program->PostTrayMessage(WM_LBUTTONDBLCLK);
        return WaitNoting([] { return Cover() != nullptr && Padlock() != nullptr; }, 30000);
    }

    static inline std::set<std::string> trayTexts;
};

TEST_F(TrayLockTest, DoubleTapDuringTheCountdownCancelsIt) {
    EXPECT_TRUE(KeysGetThrough());
    program->PostTrayMessage(WM_LBUTTONDBLCLK);
    WaitNoting([] { return false; }, 2000);
    program->PostTrayMessage(WM_LBUTTONDBLCLK);
    // Well past the moment the lock would have engaged.
    EXPECT_FALSE(WaitNoting([] { return Cover() != nullptr; }, 11000));
    EXPECT_TRUE(KeysGetThrough());
}

// Each way to unlock, after a countdown from the tray: the countdown's
// balloons come (read from the shell's own tooltip windows), and no key gets
// past the lock until the gesture.
TEST_F(TrayLockTest, EachUnlockGestureEndsALockNoKeyGetsThrough) {
    struct Gesture {
        const char* name;
        void (*perform)();
    };
    const Gesture gestures[] = {
        {"a tap on the padlock's body",
         [] {
             // The yellow body, low in the picture.
             RECT where = {};
             GetWindowRect(Padlock(), &where);
             const int x = where.left + 40, y = where.top + 100;
             Inject({MouseInput(x, y, 0), MouseInput(x, y, MOUSEEVENTF_LEFTDOWN),
                     MouseInput(x, y, MOUSEEVENTF_LEFTUP)});
         }},
        {"a second double-tap on the tray icon",
         [] { program->PostTrayMessage(WM_LBUTTONDBLCLK); }},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.name);
        // A balloon of an earlier countdown may still be up: it must not count.
        WaitUntil(
            [] {
                std::set<std::string> shown;
                CollectTrayTexts(&shown);
                for (const char* text : CountdownBalloons)
                    if (shown.count(text))
                        return false;
                return true;
            },
            30000);
        trayTexts.clear();
        DWORD start = GetTickCount();
        ASSERT_TRUE(LockFromTheTray());
        EXPECT_GE(GetTickCount() - start, 9000u);
        // The shell shows one balloon at a time, so the last one can come late.
        WaitNoting([] { return trayTexts.count("Now locked") != 0; }, 8000);
        for (const char* text : CountdownBalloons)
            EXPECT_EQ(trayTexts.count(text), 1u) << text;

        SeenKeys().clear();
        Inject(Taps({'A', '1', VK_ESCAPE, VK_RETURN, VK_LWIN, VK_F4}));
        // Alt+Tab and Ctrl+Esc too.
        Inject({KeyInput(VK_MENU, false), KeyInput(VK_TAB, false), KeyInput(VK_TAB, true),
                KeyInput(VK_MENU, true), KeyInput(VK_CONTROL, false), KeyInput(VK_ESCAPE, false),
                KeyInput(VK_ESCAPE, true), KeyInput(VK_CONTROL, true)});
        EXPECT_TRUE(SeenKeys().empty()) << SeenKeys().size() << " keys got past the lock";

        gesture.perform();
        ASSERT_TRUE(WaitNoting([] { return Cover() == nullptr && Padlock() == nullptr; }, 3000));
        EXPECT_TRUE(KeysGetThrough());
    }
    EXPECT_TRUE(program->Running());
}

} // namespace
