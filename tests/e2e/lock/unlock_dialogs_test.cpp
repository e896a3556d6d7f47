// The real program's padlock, unlock word prompt and "did not match" box under
// real clicks and keys: the box stays above the shield and takes only its own
// keys, the right word typed then unlocks, and the padlock answers inside every
// modal loop of the program.
#include "lock_driver.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/z_order.h"
#include "res/resource.h"
#include <gtest/gtest.h>

namespace {

const char* const Word = "Abc1";

class UnlockDialogsTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        watcher = InstallKeyWatcher();
    }
    void TearDown() override {
        UnhookWindowsHookEx(watcher);
        program.Kill();
        ProgramTest::TearDown();
    }
    bool Start(const std::vector<std::pair<std::string, std::string>>& settings,
               const char* word = Word) {
        WriteProductSettings(settings);
        WriteProductUnlockWord(word);
        return program.Start() && program.WaitUntilReady();
    }
    HWND Find(const char* className) { return FindProcessWindow(program.ProcessId(), className); }
    static void Click(POINT at) {
        Inject({MouseInput(at.x, at.y, 0), MouseInput(at.x, at.y, MOUSEEVENTF_LEFTDOWN),
                MouseInput(at.x, at.y, MOUSEEVENTF_LEFTUP)});
    }
    // On the padlock's body, below its shackle.
    void TapPadlock() {
        RECT r = {};
        GetWindowRect(Find("UnlockImage"), &r);
        Click({(r.left + r.right) / 2, r.top + (r.bottom - r.top) * 3 / 4});
    }
    MorrowbyProcess program;
    HHOOK watcher = nullptr;
};

TEST_F(UnlockDialogsTest, MismatchBoxStaysOnTopTakesOnlyItsKeysAndTheNextTapAsksAgain) {
    ASSERT_TRUE(Start({{"EnableLockAtStartup", "1"}, {"Prompt", "1"}}));
    ASSERT_TRUE(WaitUntil([&] { return Find("UnlockImage") != nullptr; }, 10000));
    const DWORD id = program.ProcessId();
    const HWND cover = Find("Cover");
    TapPadlock();
    ASSERT_TRUE(WaitUntil([&] { return FindUnlockPrompt(id) != nullptr; }, 3000));
    Inject(Taps({'X', 'Y', VK_RETURN}));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMismatchBox(id)) != nullptr; }, 3000));

    // A tap on the shield, then the shield's own five-second re-raise.
    Click({60, 60});
    EXPECT_TRUE(Above(box, cover));
    EXPECT_EQ(GetForegroundWindow(), box);
    PumpMessagesFor(5500);
    EXPECT_TRUE(Above(box, cover));
    EXPECT_TRUE(Above(box, Find("UnlockImage")));

    // Another window in front gets none of the keys meant for the box.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    PumpMessagesFor(300);
    SeenKeys().clear();
    Inject(Taps({'Q', VK_RETURN}));
    EXPECT_TRUE(SeenKeys().empty());
    EXPECT_TRUE(IsWindow(box));
    DestroyWindow(other);

    // A tap on the box brings it back; Enter then dismisses it.
    RECT text = {};
    GetWindowRect(GetDlgItem(box, 0xFFFF), &text);
    Click({(text.left + text.right) / 2, (text.top + text.bottom) / 2});
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }, 2000));
    Inject(Taps({VK_RETURN}));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));

    TapPadlock();
    HWND prompt = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (prompt = FindUnlockPrompt(id)) != nullptr; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == prompt; }, 3000));
    // The right word, its capital typed with Shift, unlocks: no box, and keys pass again.
    Inject({KeyInput(VK_LSHIFT, false), KeyInput('A', false), KeyInput('A', true),
            KeyInput(VK_LSHIFT, true)});
    Inject(Taps({'B', 'C', '1', VK_RETURN}));
    EXPECT_TRUE(WaitUntil([&] { return Find("Cover") == nullptr; }, 3000));
    EXPECT_EQ(FindMismatchBox(id), nullptr);
    SeenKeys().clear();
    Inject(Taps({'Q'}));
    EXPECT_TRUE(KeySeen('Q'));
}

TEST_F(UnlockDialogsTest, PadlockUnlocksALockThatEngagedUnderTheSettingsDialog) {
    ASSERT_TRUE(Start({{"DisableKeyboard", "0"}}));
    program.PostCommand(IDM_SETTINGS);
    HWND settings = nullptr;
    WaitUntil([&] { return (settings = Find("#32770")) && GetDlgItem(settings, IDC_PROMPT); },
              3000);
    ASSERT_NE(settings, nullptr);
    // Locked from the tray while the dialog's own loop runs.
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return Find("UnlockImage") != nullptr; }, 30000));
    TapPadlock();
    EXPECT_TRUE(WaitUntil([&] { return Find("Cover") == nullptr; }, 3000));
    EXPECT_TRUE(IsWindow(settings));
}

// Keyboard and shield locked, no mouse needed: the word typed anywhere, with
// no prompt, unlocks; a wrong one does not; no key reaches any window.
TEST_F(UnlockDialogsTest, TheWordTypedAnywhereUnlocksAndAWrongOneDoesNot) {
    ASSERT_TRUE(Start({{"EnableLockAtStartup", "1"}, {"Prompt", "1"}}, "tiger"));
    ASSERT_TRUE(WaitUntil([&] { return Find("Cover") != nullptr; }, 10000));
    SeenKeys().clear();
    Inject(Taps({'T', 'I', 'G', 'R', 'E', 'T', 'I', 'G', 'E', 'E', VK_RETURN}));
    EXPECT_FALSE(WaitUntil([&] { return Find("Cover") == nullptr; }, 2000));
    const DWORD typedAt = GetTickCount();
    Inject(Taps({'T', 'I', 'G', 'E', 'R'}));
    EXPECT_TRUE(WaitUntil([&] { return Find("Cover") == nullptr; }, 2000));
    EXPECT_LT(GetTickCount() - typedAt, 2000u);
    EXPECT_TRUE(SeenKeys().empty()) << SeenKeys().size() << " keys got past the lock";
    EXPECT_EQ(FindUnlockPrompt(program.ProcessId()), nullptr);
    Inject(Taps({'Q'}));
    EXPECT_TRUE(KeySeen('Q'));
}

} // namespace
