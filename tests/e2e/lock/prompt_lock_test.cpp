// The real program locking at start-up with the mouse held and an unlock word.
#include "lock_driver.h"
#include "support/product_settings.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>

namespace {

const char* const Word = "Abc1";

// Every test starts with the program locked at start-up and nothing open
// over the cover.
class PromptLockTest : public SharedProgramTest<PromptLockTest> {
  public:
    static void StartProgram(MorrowbyProcess& starting) {
        WriteProductSettings({{"EnableLockAtStartup", "1"},
                              {"DisableMouse", "1"},
                              {"Prompt", "1"},
                              {"Password", ScrambleUnlockWord(Word)}});
        lockedAfterMs = 0;
        if (!starting.Start() || !starting.WaitUntilReady())
            return;
        // Timed from the end of the splash sequence: a countdown would add ten seconds.
        const DWORD readyAt = GetTickCount();
        if (WaitUntil([] { return Cover() != nullptr; }, 30000))
            lockedAfterMs = GetTickCount() - readyAt + 1;
    }
    static bool InStartingState() {
        return Cover() != nullptr && FindUnlockPrompt(Id()) == nullptr &&
               FindMismatchBox(Id()) == nullptr;
    }

  protected:
    void SetUp() override {
        SharedProgramTest::SetUp();
        ASSERT_GT(lockedAfterMs, 0u) << "the program did not lock at start-up";
    }

    static DWORD Id() { return program->ProcessId(); }
    static HWND Cover() { return FindProcessWindow(Id(), "Cover"); }
    static HWND OpenPrompt() {
        program->PostTrayMessage(WM_LBUTTONDBLCLK);
        HWND prompt = nullptr;
        WaitUntil([&] { return (prompt = FindUnlockPrompt(Id())) != nullptr; }, 5000);
        // Its first raise puts it in front for the keys that follow.
        PumpMessagesFor(1200);
        return prompt;
    }

    static inline DWORD lockedAfterMs = 0;
};

TEST_F(PromptLockTest, LocksAtStartUpWithoutCountdown) {
    ASSERT_NE(Cover(), nullptr);
    EXPECT_GT(lockedAfterMs, 0u);
    EXPECT_LT(lockedAfterMs, 5000u);
}

TEST_F(PromptLockTest, MouseIsHeldAtTheRegionCorner) {
    const int left = GetSystemMetrics(SM_CXMAXIMIZED) - 170 - 120;
    const int top = GetSystemMetrics(SM_CYMAXIMIZED) - 120 - 120;
    Inject({MouseInput(0, 0, 0)});
    POINT where = {};
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetCursorPos(&where);
            return where.x == left && where.y == top;
        },
        2000))
        << where.x << "," << where.y;
    // Straight left from inside the region: only x is held.
    SetCursorPos(left + 50, top + 60);
    Inject({MouseInput(5, top + 60, 0)});
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetCursorPos(&where);
            return where.x == left && where.y == top + 60;
        },
        2000))
        << where.x << "," << where.y;
}

TEST_F(PromptLockTest, WrongWordKeepsTheLockAndTheKeyboardBlocked) {
    HWND prompt = OpenPrompt();
    ASSERT_NE(prompt, nullptr);
    SeenKeys().clear();
    Inject(Taps({'X', VK_ESCAPE, 'Y', VK_TAB, '9', VK_F4, VK_LEFT}));
    EXPECT_TRUE(KeySeen('X') && KeySeen('Y') && KeySeen('9'));
    EXPECT_FALSE(KeySeen(VK_ESCAPE));
    EXPECT_FALSE(KeySeen(VK_TAB));
    EXPECT_FALSE(KeySeen(VK_F4));
    EXPECT_FALSE(KeySeen(VK_LEFT));
    EXPECT_TRUE(IsWindow(prompt)); // Escape did not close it
    Inject(Taps({VK_RETURN}));
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (box = FindMismatchBox(Id())) != nullptr; }, 3000));
    EXPECT_FALSE(IsWindow(prompt));
    EXPECT_NE(Cover(), nullptr);
    if (box)
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return FindMismatchBox(Id()) == nullptr; }, 3000));
    PumpMessagesFor(300);
    SeenKeys().clear();
    Inject(Taps({'A', VK_RETURN}));
    EXPECT_TRUE(SeenKeys().empty());
    EXPECT_NE(Cover(), nullptr);
}

TEST_F(PromptLockTest, PromptGivesUpAfterThirtySecondsAndTheLockStays) {
    HWND prompt = OpenPrompt();
    ASSERT_NE(prompt, nullptr);
    DWORD openedAt = GetTickCount() - 1200;
    EXPECT_FALSE(WaitUntil([&] { return !IsWindow(prompt); }, 25000));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }, 65000));
    EXPECT_GE(GetTickCount() - openedAt, 29000u);
    PumpMessagesFor(500);
    EXPECT_EQ(FindMismatchBox(Id()), nullptr);
    EXPECT_NE(Cover(), nullptr);
    SeenKeys().clear();
    Inject(Taps({'A'}));
    EXPECT_TRUE(SeenKeys().empty());
}

// With the prompt in front, what a word is typed with on any layout reaches
// it: AltGr and its keys, the input method keys (Hangul first), the layout
// switches Win+Space and Left Alt+Shift. The ways out reach nothing.
TEST_F(PromptLockTest, EveryLayoutsKeysReachThePromptAndNoWayOutDoes) {
    HWND prompt = OpenPrompt();
    ASSERT_TRUE(prompt && GetForegroundWindow() == prompt);
    INPUT altGrCtrl = KeyInput(VK_LCONTROL, false);
    altGrCtrl.ki.wScan = 0x21D; // as Windows sends it ahead of AltGr's Right Alt
    std::vector<INPUT> keys = {altGrCtrl, KeyInput(VK_RMENU, false)};
    auto add = [&](const std::vector<INPUT>& more) {
        keys.insert(keys.end(), more.begin(), more.end());
    };
    add(Taps({'Q', VK_OEM_4}));
    altGrCtrl.ki.dwFlags = KEYEVENTF_KEYUP;
    add({altGrCtrl, KeyInput(VK_RMENU, true)});
    add(Taps({0x15, 0x16, 0x1A, 0x1C, 0x1D, 0x1E, 0x1F, 0xE5, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5}));
    // The layout switches; then Alt+Tab, Alt+F4, Alt+Esc, Ctrl+Esc, Win+D.
    const WORD chords[][2] = {{VK_LWIN, VK_SPACE}, {VK_LMENU, VK_LSHIFT}, {VK_LMENU, VK_TAB},
                              {VK_LMENU, VK_F4},   {VK_LMENU, VK_ESCAPE}, {VK_LCONTROL, VK_ESCAPE},
                              {VK_LWIN, 'D'}};
    for (const auto& chord : chords) {
        keys.push_back(KeyInput(chord[0], false));
        add(Taps({chord[1]}));
        keys.push_back(KeyInput(chord[0], true));
    }
    add(Taps({VK_LWIN, VK_LMENU})); // alone
    SeenKeys().clear();
    Inject(keys);
    EXPECT_EQ(SeenKeys(), (std::vector<DWORD>{VK_LCONTROL, VK_RMENU, 'Q',      VK_OEM_4, 0x15, 0x16,
                                              0x1A,        0x1C,     0x1D,     0x1E,     0x1F, 0xE5,
                                              0xF0,        0xF1,     0xF2,     0xF3,     0xF4, 0xF5,
                                              VK_LWIN,     VK_SPACE, VK_LMENU, VK_LSHIFT}));
    EXPECT_EQ(GetForegroundWindow(), prompt);
    // The word typed is wrong: the lock stays once the box that says so goes.
    Inject(Taps({VK_RETURN}));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMismatchBox(Id())) != nullptr; }, 3000));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return FindMismatchBox(Id()) == nullptr; }, 3000));
    EXPECT_NE(Cover(), nullptr);
}

} // namespace
