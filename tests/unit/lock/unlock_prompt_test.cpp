// The unlock word prompt driven in-process through its real modal loop.
#include "support/prompt_driver.h"
#include "support/in_process_app.h"
#include "support/wait.h"
#include "app/main_window.h"
#include "lock/unlock_prompt.h"
#include "res/timer_ids.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

class UnlockPromptTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(StartInProcessApp(), nullptr); }
    void TearDown() override { StopInProcessApp(); }
};

const UnlockWord Accepted = UnlockWord::Accepted, Refused = UnlockWord::Refused;

struct WordCase {
    const char* stored;
    std::string typed;
    UnlockWord expectedResult;
    bool expectBox;
};

TEST_F(UnlockPromptTest, ComparesTheTypedWordExactly) {
    const WordCase cases[] = {
        {"Abc1", "Abc1", Accepted, false},
        {"Abc1", "abc1", Refused, true},  // letter case counts
        {"Abc1", "Abc1 ", Refused, true}, // a trailing blank counts
        {"Abc1", " Abc1", Refused, true}, // so does a leading one
        {"Abc1", "Abc", Refused, true},
        {"", "", Accepted, false}, // no word set: OK on an empty field
        {"", "x", Refused, true},
        // Only the first 14 characters are read.
        {"abcdefghijklmn", "abcdefghijklmnXYZ", Accepted, false},
        {"abcdefghijklmn", "abcdefghijklm", Refused, true},
        {"p\xE4ss w\xF6rd", "p\xE4ss w\xF6rd", Accepted, false}, // code page bytes, not ASCII only
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(std::string("stored '") + c.stored + "' typed '" + c.typed + "'");
        Settings.Password = c.stored;
        PromptScript script;
        script.typed = c.typed;
        PromptDriver driver(script);
        UnlockWord result = PromptForUnlockWord(MainWindow);
        EXPECT_EQ(result, c.expectedResult);
        EXPECT_TRUE(driver.Observed().promptSeen);
        EXPECT_EQ(driver.Observed().boxSeen, c.expectBox);
        if (c.expectBox) {
            EXPECT_EQ(driver.Observed().boxText, "The unlock word did not match");
            // The box comes after the prompt has gone and its flag is down.
            EXPECT_TRUE(driver.Observed().promptGoneWhenBoxShown);
            EXPECT_FALSE(driver.Observed().promptOpenFlagDuringBox);
        }
        EXPECT_FALSE(UnlockPrompt.UnlockPromptOpen);
        EXPECT_EQ(UnlockPrompt.Window, nullptr);
    }
}

TEST_F(UnlockPromptTest, MismatchBoxClosesWhenThePromptsTimeOutWouldHavePassed) {
    struct TimeLeftCase {
        DWORD promptOpenedAgo;
        UINT boxTimeLeft;
    };
    const TimeLeftCase cases[] = {{0, 30000}, {21000, 9000}, {29000, 2000}, {60000, 2000}};
    for (const TimeLeftCase& c : cases) // just after the tick count wrapped
        EXPECT_EQ(MismatchBoxTimeLeft(1000 - c.promptOpenedAgo, 1000), c.boxTimeLeft)
            << c.promptOpenedAgo;

    // For real: a wrong word typed 29 s after the prompt opened.
    Settings.Password = "word";
    PromptScript script;
    script.typed = "bad";
    script.onOpen = [](HWND) { UnlockPrompt.OpenedAt -= 29000; };
    script.dismissBoxAfterMs = 8000;
    DWORD boxShownAt = 0;
    script.onBox = [&](HWND) { boxShownAt = GetTickCount(); };
    PromptDriver driver(script);
    EXPECT_EQ(PromptForUnlockWord(MainWindow), Refused);
    ASSERT_TRUE(driver.Observed().boxSeen);
    EXPECT_LT(GetTickCount() - boxShownAt, 6000u); // closed by itself after about 2 s
    EXPECT_FALSE(UnlockDialogOpen());
    EXPECT_EQ(UnlockDialogWindow(), nullptr);
}

TEST_F(UnlockPromptTest, FlagIsUpOnlyWhileThePromptIsOpen) {
    Settings.Password = "word";
    bool flagWhileOpen = false;
    PromptScript script;
    script.typed = "word";
    script.onOpen = [&](HWND) { flagWhileOpen = UnlockPrompt.UnlockPromptOpen; };
    PromptDriver driver(script);
    EXPECT_FALSE(UnlockPrompt.UnlockPromptOpen);
    EXPECT_EQ(PromptForUnlockWord(MainWindow), Accepted);
    EXPECT_TRUE(flagWhileOpen);
    EXPECT_FALSE(UnlockPrompt.UnlockPromptOpen);
}

TEST_F(UnlockPromptTest, EscapeAndCloseRequestsDoNotEndThePrompt) {
    Settings.Password = "word";
    bool stillOpen = false;
    PromptScript script;
    script.typed = "word";
    script.answerAfterMs = 600;
    script.onOpen = [](HWND prompt) {
        PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageA(prompt, WM_CLOSE, 0, 0);
    };
    script.whileOpen = [&](HWND prompt) { stillOpen = IsWindowVisible(prompt) != FALSE; };
    PromptDriver driver(script);
    EXPECT_EQ(PromptForUnlockWord(MainWindow), Accepted);
    EXPECT_TRUE(stillOpen);
}

// The thirty seconds themselves are waited for once, in the real program
// (e2e/lock); here the time-out timer runs while the prompt is open, and its
// procedure closes the prompt without the mismatch box.
TEST_F(UnlockPromptTest, TimeOutClosesSilentlyAndRefuses) {
    Settings.Password = "word";
    bool timeoutTimerRunning = false;
    PromptScript script;
    script.typed = "word"; // typed, but OK is never pressed
    script.answer = PromptScript::CallTimeoutTimer;
    script.onOpen = [&](HWND prompt) {
        timeoutTimerRunning = KillTimer(prompt, UnlockPromptTimeoutTimerId) != FALSE;
    };
    PromptDriver driver(script);
    EXPECT_EQ(PromptForUnlockWord(MainWindow), Refused);
    EXPECT_TRUE(timeoutTimerRunning);
    EXPECT_TRUE(driver.Observed().promptSeen);
    EXPECT_FALSE(driver.Observed().boxSeen);
}

TEST_F(UnlockPromptTest, AnEarlierAnswerDoesNotCountWhenThePromptCannotOpen) {
    Settings.Password = "";
    UnlockPrompt.Result = PromptResult::Matched; // left from a matching word earlier
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(PromptForUnlockWord(gone), Refused);
    EXPECT_FALSE(UnlockPrompt.UnlockPromptOpen);
}

TEST_F(UnlockPromptTest, OpensTopmostWithTheFocusInTheWordField) {
    Settings.Password = "word";
    HWND focus = nullptr, field = nullptr;
    LONG_PTR extended = 0;
    PromptScript script;
    script.typed = "word";
    script.onOpen = [&](HWND prompt) {
        focus = GetFocus();
        field = GetDlgItem(prompt, 1013);
        extended = GetWindowLongPtrA(prompt, GWL_EXSTYLE);
    };
    PromptDriver driver(script);
    PromptForUnlockWord(MainWindow);
    EXPECT_NE(field, nullptr);
    EXPECT_EQ(focus, field);
    EXPECT_TRUE(extended & WS_EX_TOPMOST);
}

TEST_F(UnlockPromptTest, ComesBackToTheFrontWithinASecond) {
    Settings.Password = "word";
    HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    bool otherTookFront = false, promptBack = false;
    DWORD stolenAt = 0;
    PromptScript script;
    script.typed = "word";
    script.answerAfterMs = 3500;
    script.onOpen = [&](HWND) {
        SetForegroundWindow(other);
        otherTookFront = GetForegroundWindow() == other;
        stolenAt = GetTickCount();
    };
    script.whileOpen = [&](HWND prompt) {
        if (!promptBack && GetForegroundWindow() == prompt && GetTickCount() - stolenAt < 3000)
            promptBack = stolenAt != 0;
    };
    PromptDriver driver(script);
    PromptForUnlockWord(MainWindow);
    DestroyWindow(other);
    EXPECT_TRUE(otherTookFront);
    EXPECT_TRUE(promptBack);
}

TEST_F(UnlockPromptTest, ReCentresOnADisplayChange) {
    Settings.Password = "word";
    RECT before = {}, after = {};
    PromptScript script;
    script.typed = "word";
    script.onOpen = [&](HWND prompt) {
        SetWindowPos(prompt, nullptr, 3, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        GetWindowRect(prompt, &before);
        SendMessageA(prompt, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
        GetWindowRect(prompt, &after);
    };
    PromptDriver driver(script);
    PromptForUnlockWord(MainWindow);
    const int width = before.right - before.left, height = before.bottom - before.top;
    EXPECT_EQ(before.left, 3);
    EXPECT_EQ(after.right - after.left, width);
    EXPECT_EQ(after.bottom - after.top, height);
    EXPECT_EQ(after.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(after.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

// Stands in for the system's on-screen keyboard.
std::vector<std::pair<WPARAM, LPARAM>> KeyboardMessages;
LRESULT CALLBACK FakeKeyboardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == OnScreenKeyboardMessage)
        KeyboardMessages.push_back({wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(UnlockPromptTest, PostsOneMessageToARunningOnScreenKeyboard) {
    WNDCLASSA keyboardClass = {};
    keyboardClass.lpfnWndProc = FakeKeyboardProc;
    keyboardClass.hInstance = GetModuleHandleA(nullptr);
    keyboardClass.lpszClassName = "OSKMainClass";
    RegisterClassA(&keyboardClass);
    HWND keyboard = CreateWindowExA(0, "OSKMainClass", "On-Screen Keyboard", WS_POPUP, 0, 0, 10, 10,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(keyboard, nullptr);
    KeyboardMessages.clear();
    Settings.Password = "word";
    PromptScript script;
    script.typed = "word";
    script.answerAfterMs = 300;
    PromptDriver driver(script);
    PromptForUnlockWord(MainWindow);
    PumpMessagesFor(100);
    DestroyWindow(keyboard);
    UnregisterClassA("OSKMainClass", GetModuleHandleA(nullptr));
    ASSERT_EQ(KeyboardMessages.size(), 1u);
    EXPECT_EQ(KeyboardMessages[0].first, 1u);
    EXPECT_EQ(KeyboardMessages[0].second, 0);
}

} // namespace
