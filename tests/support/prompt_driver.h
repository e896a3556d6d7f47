// Answers the modal unlock word prompt from inside its own modal loop, the way
// a user would: a thread timer (dispatched by the dialog's and the message
// box's loops) finds the prompt among this thread's windows, types into the
// word field and presses OK, then dismisses the "Unlock Word Check" box.
#pragma once
#include <windows.h>
#include "lock/unlock_prompt.h"
#include "res/resource.h"
#include "res/timer_ids.h"
#include <cstring>
#include <functional>
#include <string>

inline bool IsUnlockPrompt(HWND window) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, "#32770") == 0 &&
           FindWindowExA(window, nullptr, "Static", "Enter the unlock word") != nullptr;
}

inline bool IsMismatchBox(HWND window) {
    char className[32] = {}, title[64] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    return strcmp(className, "#32770") == 0 && strcmp(title, "Unlock Word Check") == 0;
}

struct WindowSearch {
    bool (*matches)(HWND);
    HWND found;
    int count;
};

inline BOOL CALLBACK VisitThreadWindow(HWND window, LPARAM search) {
    WindowSearch* s = reinterpret_cast<WindowSearch*>(search);
    if (s->matches(window)) {
        if (!s->found)
            s->found = window;
        s->count++;
    }
    return TRUE;
}

inline WindowSearch SearchThisThread(bool (*matches)(HWND)) {
    WindowSearch search = {matches, nullptr, 0};
    EnumThreadWindows(GetCurrentThreadId(), VisitThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search;
}

// This thread's dialog showing the static text "Enter the unlock word".
inline HWND FindUnlockPromptOnThisThread() {
    return SearchThisThread(IsUnlockPrompt).found;
}

// Every unlock prompt on this thread (more than one would be a fault).
inline int CountUnlockPromptsOnThisThread() {
    return SearchThisThread(IsUnlockPrompt).count;
}

inline HWND FindMismatchBoxOnThisThread() {
    return SearchThisThread(IsMismatchBox).found;
}

struct PromptScript {
    enum Answer { PressOk, LetTimeOut, CallTimeoutTimer };
    std::string typed;
    Answer answer = PressOk;
    DWORD answerAfterMs = 0; // how long the prompt stays open before the answer
    // Runs once, on the first tick that finds the prompt.
    std::function<void(HWND prompt)> onOpen;
    // Runs once when the mismatch box is found, before it is dismissed.
    std::function<void(HWND box)> onBox;
    // How long the mismatch box stays before it is dismissed.
    DWORD dismissBoxAfterMs = 0;
    // Runs on every tick while the prompt is open.
    std::function<void(HWND prompt)> whileOpen;
};

struct PromptObservation {
    HWND prompt = nullptr;
    bool promptSeen = false;
    bool boxSeen = false;
    std::string boxText;
    bool promptOpenFlagDuringBox = true;
    bool promptGoneWhenBoxShown = false;
};

class PromptDriver {
  public:
    explicit PromptDriver(PromptScript script) {
        State().script = std::move(script);
        State().observed = PromptObservation();
        State().answered = false;
        State().foundAt = 0;
        State().boxFoundAt = 0;
        timer = SetTimer(nullptr, 0, 30, Tick);
    }
    ~PromptDriver() { KillTimer(nullptr, timer); }
    PromptDriver(const PromptDriver&) = delete;
    PromptDriver& operator=(const PromptDriver&) = delete;
    const PromptObservation& Observed() const { return State().observed; }

  private:
    struct DriverState {
        PromptScript script;
        PromptObservation observed;
        bool answered = false;
        DWORD foundAt = 0;
        DWORD boxFoundAt = 0;
    };
    static DriverState& State() {
        static DriverState state;
        return state;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DriverState& state = State();
        HWND box = FindMismatchBoxOnThisThread();
        if (box) {
            if (!state.observed.boxSeen) {
                state.boxFoundAt = GetTickCount();
                if (state.script.onBox)
                    state.script.onBox(box);
            }
            state.observed.boxSeen = true;
            char text[128] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            state.observed.boxText = text;
            state.observed.promptGoneWhenBoxShown = FindUnlockPromptOnThisThread() == nullptr;
            state.observed.promptOpenFlagDuringBox = UnlockPrompt.UnlockPromptOpen;
            if (GetTickCount() - state.boxFoundAt >= state.script.dismissBoxAfterMs)
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            return;
        }
        if (state.answered)
            return;
        HWND prompt = FindUnlockPromptOnThisThread();
        if (!prompt)
            return;
        if (!state.observed.promptSeen) {
            state.observed.promptSeen = true;
            state.observed.prompt = prompt;
            state.foundAt = GetTickCount();
            if (state.script.onOpen)
                state.script.onOpen(prompt);
        }
        if (state.script.whileOpen)
            state.script.whileOpen(prompt);
        if (GetTickCount() - state.foundAt < state.script.answerAfterMs)
            return;
        switch (state.script.answer) {
        case PromptScript::PressOk:
            state.answered = true;
            SetDlgItemTextA(prompt, IDC_UNLOCK_WORD, state.script.typed.c_str());
            SendMessageA(prompt, WM_COMMAND, IDOK, 0);
            break;
        case PromptScript::CallTimeoutTimer: {
            state.answered = true;
            SetDlgItemTextA(prompt, IDC_UNLOCK_WORD, state.script.typed.c_str());
            UnlockPromptTimeoutTimer(prompt, WM_TIMER, UnlockPromptTimeoutTimerId, 0);
            break;
        }
        case PromptScript::LetTimeOut:
            break;
        }
    }
    UINT_PTR timer = 0;
};
