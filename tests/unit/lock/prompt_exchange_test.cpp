// The unlock word around the lock: the keyboard hook exchange, refusals, and
// requests that arrive while a prompt is already open.
#include "support/lock_fixture.h"
#include "support/z_order.h"
#include "support/prompt_driver.h"
#include "features/video_counter.h"
#include "lock/input_hooks.h"
#include "lock/shield.h"

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
        const HHOOK blocking = Lock.KeyboardHook();
        const HWND cover = Shield.CoverWindow();
        HHOOK duringPrompt = nullptr;
        HOOKPROC procedureDuringPrompt = nullptr;
        PromptScript script;
        script.typed = c.typed;
        script.answer = c.answer;
        script.onOpen = [&](HWND) {
            duringPrompt = Lock.KeyboardHook();
            procedureDuringPrompt = Lock.KeyboardHookProcedureInUse();
        };
        PromptDriver driver(script);
        EXPECT_EQ(RequestUnlock(), UnlockResult::Refused);
        EXPECT_EQ(procedureDuringPrompt, UnlockWordKeyFilterProc);
        EXPECT_TRUE(HookGone(blocking)); // exchanged, not stacked
        EXPECT_EQ(Lock.KeyboardHookProcedureInUse(), BlockAllKeysProc);
        EXPECT_TRUE(HookGone(duringPrompt));
        EXPECT_EQ(driver.Observed().boxSeen, c.answer == PromptScript::PressOk);
        EXPECT_FALSE(Lock.Unlocked);
        EXPECT_EQ(Shield.CoverWindow(), cover);
        EXPECT_TRUE(IsWindowVisible(cover));
    }
    PromptScript right;
    right.typed = "Pw9";
    PromptDriver driver(right);
    EXPECT_EQ(RequestUnlock(), UnlockResult::Released);
    EXPECT_TRUE(Lock.Unlocked);
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
    EXPECT_EQ(Shield.CoverWindow(), nullptr);
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
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
    EXPECT_TRUE(Lock.Unlocked);
}

TEST_F(PromptExchangeTest, SecondRequestWhileThePromptIsOpenIsRefused) {
    Settings.DisableKeyboard = true;
    Settings.EnableTouchShield = true;
    ASSERT_TRUE(EngageAtOnce());
    UnlockResult inner = UnlockResult::Released;
    int promptsAfterTap = 0;
    HHOOK before = nullptr, after = nullptr;
    bool stillOpen = false;
    PromptScript script;
    script.typed = "Pw9";
    script.answerAfterMs = 200;
    script.onOpen = [&](HWND prompt) {
        before = Lock.KeyboardHook();
        // The tray double-tap, as the prompt's own loop would dispatch it.
        SendMessageA(MainWindow, TrayCallbackMessage, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        SendMessageA(MainWindow, WM_COMMAND, IDM_LOCK, 0);
        inner = RequestUnlock();
        promptsAfterTap = CountUnlockPromptsOnThisThread();
        after = Lock.KeyboardHook();
        stillOpen = IsWindow(prompt) && UnlockPrompt.UnlockPromptOpen;
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), UnlockResult::Released); // the open prompt's answer decides
    EXPECT_EQ(inner, UnlockResult::Refused);
    EXPECT_EQ(promptsAfterTap, 1);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(Lock.Unlocked);
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
}

TEST_F(PromptExchangeTest, RequestWhileTheMismatchBoxIsUpOpensNoSecondPrompt) {
    Settings.DisableKeyboard = true;
    ASSERT_TRUE(EngageAtOnce());
    UnlockResult inner = UnlockResult::Released;
    int prompts = -1;
    PromptScript script;
    script.typed = "bad";
    script.onBox = [&](HWND) {
        inner = RequestUnlock();
        prompts = CountUnlockPromptsOnThisThread();
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), UnlockResult::Refused);
    EXPECT_EQ(inner, UnlockResult::Refused);
    EXPECT_EQ(prompts, 0);
    EXPECT_EQ(Lock.KeyboardHookProcedureInUse(), BlockAllKeysProc);
    EXPECT_FALSE(Lock.Unlocked);
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
        procedureWhileOpen = Lock.KeyboardHookProcedureInUse();
        coverUp = Shield.CoverWindow() != nullptr;
        if (Shield.CoverWindow())
            promptAboveCover = Above(prompt, Shield.CoverWindow());
    };
    PromptDriver driver(script);
    // The parent asks to unlock just as the lock at start-up counts down.
    Lock.ImmediateLock = true;
    StartLockCountdown();
    EXPECT_EQ(RequestUnlock(), UnlockResult::Refused);
    EXPECT_TRUE(coverUp); // the lock engaged while the prompt was open
    EXPECT_EQ(procedureWhileOpen, UnlockWordKeyFilterProc);
    EXPECT_TRUE(promptAboveCover);
    EXPECT_EQ(Lock.KeyboardHookProcedureInUse(), BlockAllKeysProc);
    EXPECT_FALSE(Lock.Unlocked);
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
        aboveAfterReassert = Above(prompt, Shield.CoverWindow());
        Shield.FitCoverToDisplay();
        aboveAfterDisplayChange = Above(prompt, Shield.CoverWindow());
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), UnlockResult::Released);
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
        {"display change", [] { Shield.FitCoverToDisplay(); }},
    };
    PromptScript script;
    script.typed = "wrong";
    script.onBox = [&](HWND box) {
        for (const Lift& lift : lifts) {
            SCOPED_TRACE(lift.name);
            lift.lift();
            EXPECT_TRUE(Above(box, Shield.CoverWindow()));
            EXPECT_TRUE(Above(box, Shield.UnlockImageWindow()));
            EXPECT_EQ(GetForegroundWindow(), box);
        }
        // A tap on the shield does not activate it, which would lift it.
        for (HWND shield : {Shield.CoverWindow(), Shield.UnlockImageWindow()})
            EXPECT_EQ(SendMessageA(shield, WM_MOUSEACTIVATE, (WPARAM)shield,
                                   MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
                      MA_NOACTIVATE);
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), UnlockResult::Refused);
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
        before = Lock.KeyboardHook();
        SendMessageA(MainWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
        after = Lock.KeyboardHook();
        afterRefresh = Lock.KeyboardHookProcedureInUse();
    };
    PromptDriver driver(script);
    EXPECT_EQ(RequestUnlock(), UnlockResult::Released);
    EXPECT_EQ(afterRefresh, UnlockWordKeyFilterProc);
    EXPECT_NE(after, before);
    EXPECT_TRUE(HookGone(before));
    EXPECT_TRUE(HookGone(after)); // released with the lock
}

} // namespace
