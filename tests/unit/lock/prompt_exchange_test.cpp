// The unlock word around the lock: the keyboard hook exchange, refusals, and
// requests that arrive while a prompt is already open.
#include "support/lock_fixture.h"
#include "support/z_order.h"
#include "lock/cover_windows.h"
#include "lock/input_hooks.h"
#include "features/video_counter.h"
#include "support/prompt_driver.h"

namespace {

class PromptExchangeTest : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        Settings.Prompt = true;
        Settings.Password = "Pw9";
    }
};

struct RefusalCase {
    const char* name;
    PromptScript::Answer answer;
    const char* typed;
};

TEST_F(PromptExchangeTest, RefusedWordKeepsTheLockAndBlocksTheKeysAgain) {
    Settings.DisableKeyboard = true;
    Settings.EnableTouchShield = true;
    ASSERT_TRUE(EngageAtOnce());
    const RefusalCase cases[] = {
        {"wrong word", PromptScript::PressOk, "pw9"},
        {"time-out", PromptScript::CallTimeoutTimer, "Pw9"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        const HHOOK blocking = KeyboardHook;
        const HWND cover = CoverWindow;
        HHOOK duringPrompt = nullptr;
        HOOKPROC procedureDuringPrompt = nullptr;
        PromptScript script;
        script.typed = c.typed;
        script.answer = c.answer;
        script.onOpen = [&](HWND) {
            duringPrompt = KeyboardHook;
            procedureDuringPrompt = KeyboardHookProcedureInUse();
        };
        PromptDriver driver(script);
        EXPECT_EQ(RequestUnlock(), 1);
        EXPECT_EQ(procedureDuringPrompt, UnlockWordKeyFilterProc);
        EXPECT_TRUE(HookGone(blocking)); // exchanged, not stacked
        EXPECT_EQ(KeyboardHookProcedureInUse(), BlockAllKeysProc);
        EXPECT_TRUE(HookGone(duringPrompt));
        EXPECT_EQ(driver.Observed().boxSeen, c.answer == PromptScript::PressOk);
        EXPECT_FALSE(Unlocked);
        EXPECT_EQ(CoverWindow, cover);
        EXPECT_TRUE(IsWindowVisible(cover));
    }
    PromptScript right;
    right.typed = "Pw9";
    PromptDriver driver(right);
    EXPECT_EQ(RequestUnlock(), 0);
    EXPECT_TRUE(Unlocked);
    EXPECT_EQ(KeyboardHook, nullptr);
    EXPECT_EQ(CoverWindow, nullptr);
}

TEST_F(PromptExchangeTest, GateOfExitAndSettingsLeavesNoHookWhenUnlocked) {
    Settings.DisableKeyboard = true;
    PromptScript wrong;
    wrong.typed = "nope";
    {
        PromptDriver driver(wrong);
        SendMessageA(MainWindow, WM_COMMAND, IDM_EXIT, 0);
        EXPECT_TRUE(driver.Observed().boxSeen);
    }
    EXPECT_TRUE(IsWindow(MainWindow)); // Exit refused
    EXPECT_EQ(KeyboardHook, nullptr);
    EXPECT_TRUE(Unlocked);
}

TEST_F(PromptExchangeTest, SecondRequestWhileThePromptIsOpenIsRefused) {
    Settings.DisableKeyboard = true;
    Settings.EnableTouchShield = true;
    ASSERT_TRUE(EngageAtOnce());
    int inner = -1, promptsAfterTap = 0;
    HHOOK before = nullptr, after = nullptr;
    bool stillOpen = false;
    PromptScript script;
    script.typed = "Pw9";
    script.answerAfterMs = 200;
    script.onOpen = [&](HWND prompt) {
        before = KeyboardHook;
        // The tray double-tap, as the prompt's own loop would dispatch it.
        SendMessageA(MainWindow, TrayCallbackMessage, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        SendMessageA(MainWindow, WM_COMMAND, IDM_LOCK, 0);
        inner = RequestUnlock();
        promptsAfterTap = CountUnlockPromptsOnThisThread();
        after = KeyboardHook;
        stillOpen = IsWindow(prompt) && AppController.UnlockPromptOpen;
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), 0); // the open prompt's answer decides
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(promptsAfterTap, 1);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(Unlocked);
    EXPECT_EQ(KeyboardHook, nullptr);
}

TEST_F(PromptExchangeTest, RequestWhileTheMismatchBoxIsUpOpensNoSecondPrompt) {
    Settings.DisableKeyboard = true;
    ASSERT_TRUE(EngageAtOnce());
    int inner = -1, prompts = -1;
    PromptScript script;
    script.typed = "bad";
    script.onBox = [&](HWND) {
        inner = RequestUnlock();
        prompts = CountUnlockPromptsOnThisThread();
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), 1);
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(prompts, 0);
    EXPECT_EQ(KeyboardHookProcedureInUse(), BlockAllKeysProc);
    EXPECT_FALSE(Unlocked);
}

TEST_F(PromptExchangeTest, LockEngagingUnderAnOpenPromptLetsTheWordBeTyped) {
    Settings.DisableKeyboard = true;
    Settings.EnableTouchShield = true;
    HOOKPROC procedureWhileOpen = nullptr;
    bool promptAboveCover = false, coverUp = false;
    PromptScript script;
    script.typed = "wrong";
    script.answerAfterMs = 1500;
    script.whileOpen = [&](HWND prompt) {
        procedureWhileOpen = KeyboardHookProcedureInUse();
        coverUp = CoverWindow != nullptr;
        if (CoverWindow)
            promptAboveCover = Above(prompt, CoverWindow);
    };
    PromptDriver driver(script);
    // The parent asks to unlock just as the lock at start-up counts down.
    ImmediateLock = true;
    StartLockCountdown();
    EXPECT_EQ(RequestUnlock(), 1);
    EXPECT_TRUE(coverUp); // the lock engaged while the prompt was open
    EXPECT_EQ(procedureWhileOpen, UnlockWordKeyFilterProc);
    EXPECT_TRUE(promptAboveCover);
    EXPECT_EQ(KeyboardHookProcedureInUse(), BlockAllKeysProc);
    EXPECT_FALSE(Unlocked);
}

TEST_F(PromptExchangeTest, CoverIsNotRaisedOverAnOpenPrompt) {
    Settings.EnableTouchShield = true;
    ASSERT_TRUE(EngageAtOnce());
    bool aboveAfterReassert = false, aboveAfterDisplayChange = false;
    PromptScript script;
    script.typed = "Pw9";
    script.onOpen = [&](HWND prompt) {
        SetForegroundWindow(prompt);
        ReassertCover(MainWindow, WM_TIMER, LockTimerId, 0);
        aboveAfterReassert = Above(prompt, CoverWindow);
        FitCoverToDisplay();
        aboveAfterDisplayChange = Above(prompt, CoverWindow);
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), 0);
    EXPECT_TRUE(aboveAfterReassert);
    EXPECT_TRUE(aboveAfterDisplayChange);
}

TEST_F(PromptExchangeTest, NothingLiftsTheShieldOverTheMismatchBox) {
    Settings.DisableKeyboard = true;
    Settings.EnableTouchShield = true;
    ASSERT_TRUE(EngageAtOnce());
    struct Lift {
        const char* name;
        void (*lift)();
    };
    const Lift lifts[] = {
        {"five-second re-raise", [] { ReassertCover(MainWindow, WM_TIMER, LockTimerId, 0); }},
        {"video limit", [] { StopVideoAtLimit(nullptr); }},
        {"display change", [] { FitCoverToDisplay(); }},
    };
    PromptScript script;
    script.typed = "wrong";
    script.onBox = [&](HWND box) {
        for (const Lift& lift : lifts) {
            SCOPED_TRACE(lift.name);
            lift.lift();
            EXPECT_TRUE(Above(box, CoverWindow));
            EXPECT_TRUE(Above(box, UnlockImageWindow));
            EXPECT_EQ(GetForegroundWindow(), box);
        }
        // A tap on the shield does not activate it, which would lift it.
        for (HWND shield : {CoverWindow, UnlockImageWindow})
            EXPECT_EQ(SendMessageA(shield, WM_MOUSEACTIVATE, (WPARAM)shield,
                                   MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
                      MA_NOACTIVATE);
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), 1);
    EXPECT_TRUE(driver.Observed().boxSeen);
}

TEST_F(PromptExchangeTest, WordFilterStaysWhileThePromptIsOpenAcrossAHookRefresh) {
    Settings.DisableKeyboard = true;
    ASSERT_TRUE(EngageAtOnce());
    HOOKPROC afterRefresh = nullptr;
    HHOOK before = nullptr, after = nullptr;
    PromptScript script;
    script.typed = "Pw9";
    script.onOpen = [&](HWND) {
        before = KeyboardHook;
        SendMessageA(MainWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
        after = KeyboardHook;
        afterRefresh = KeyboardHookProcedureInUse();
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), 0);
    EXPECT_EQ(afterRefresh, UnlockWordKeyFilterProc);
    EXPECT_NE(after, before);
    EXPECT_TRUE(HookGone(before));
    EXPECT_TRUE(HookGone(after)); // released with the lock
}

} // namespace
