// The small modal prompt that asks for the unlock word. It only answers whether
// the word matched; what to unlock is the lock controller's decision.
#include "unlock_prompt.h"
#include "../res/resource.h"
#include "../res/timer_ids.h"
#include "../settings/settings_store.h"
#include "../win/dialog_placement.h"
#include "../win/owner.h"
#include "../win/string_table.h"
#include <cstring>

static void InitUnlockPrompt(HWND dialog);
static void CheckTypedWord(HWND dialog);
static void ShowMismatchBox(HWND owner);
static LRESULT CALLBACK CatchMismatchBox(int code, WPARAM wParam, LPARAM lParam);

UnlockPromptState UnlockPrompt = {false, nullptr, 0, PromptResult::TimedOut};
// The "Unlock Word Check" box while it is on screen, else none.
static HWND MismatchBoxWindow = nullptr;
static bool MismatchBoxShowing = false;
static const UINT MismatchBoxShortestTime = 2000;

UnlockWord PromptForUnlockWord(HWND owner) {
    UnlockPrompt.UnlockPromptOpen = true;
    // Cleared here as well as when the dialog starts: should the dialog fail
    // to come up, an answer left over from an earlier prompt must not count.
    UnlockPrompt.Result = PromptResult::TimedOut;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_UNLOCKWORD), owner,
                    UnlockWordDialogProc, 0);
    UnlockPrompt.UnlockPromptOpen = false;
    if (UnlockPrompt.Result == PromptResult::Matched)
        return UnlockWord::Accepted;
    if (UnlockPrompt.Result == PromptResult::NotMatched)
        ShowMismatchBox(owner);
    return UnlockWord::Refused;
}

// The box has no time-out of its own and MessageBoxW gives no handle to set
// one on: a hook on this thread catches the box's window as it is created.
static void ShowMismatchBox(HWND owner) {
    MismatchBoxShowing = true;
    {
        OwnedHook watch(SetWindowsHookExA(WH_CBT, CatchMismatchBox, nullptr, GetCurrentThreadId()));
        MessageBoxW(owner, LoadText(IDS_WORD_MISMATCH).c_str(),
                    LoadText(IDS_UNLOCK_WORD_CHECK).c_str(), MB_OK | MB_TOPMOST);
    }
    MismatchBoxWindow = nullptr;
    MismatchBoxShowing = false;
}

static LRESULT CALLBACK CatchMismatchBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && !MismatchBoxWindow) {
        HWND window = reinterpret_cast<HWND>(wParam);
        const CBT_CREATEWNDA* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (!(create->lpcs->style & WS_CHILD) && strcmp(className, "#32770") == 0) {
            MismatchBoxWindow = window;
            SetTimer(window, MismatchBoxTimeoutTimerId,
                     MismatchBoxTimeLeft(UnlockPrompt.OpenedAt, GetTickCount()),
                     MismatchBoxTimeoutTimer);
        }
    }
    // MB_TOPMOST is not kept by every system (Wine drops it): the box is put in
    // the topmost band itself as it comes up, above the cover and the padlock.
    if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wParam) == MismatchBoxWindow)
        SetWindowPos(MismatchBoxWindow, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

UINT MismatchBoxTimeLeft(DWORD promptOpenedAt, DWORD now) {
    const DWORD elapsed = now - promptOpenedAt; // unsigned: right across the tick count's wrap
    if (elapsed + MismatchBoxShortestTime >= UnlockPromptTimeout)
        return MismatchBoxShortestTime;
    return UnlockPromptTimeout - elapsed;
}

void CALLBACK MismatchBoxTimeoutTimer(HWND box, UINT, UINT_PTR, DWORD) {
    KillTimer(box, MismatchBoxTimeoutTimerId);
    EndDialog(box, IDOK);
}

bool UnlockDialogOpen() {
    return UnlockPrompt.UnlockPromptOpen || MismatchBoxShowing;
}

HWND UnlockDialogWindow() {
    return UnlockPrompt.Window ? UnlockPrompt.Window : MismatchBoxWindow;
}

INT_PTR CALLBACK UnlockWordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        InitUnlockPrompt(dialog);
        // The focus goes to the word field, not to the first tab stop (OK):
        // while locked, Tab is held back and the mouse may be confined away
        // from the prompt, so the field could not be reached otherwise.
        SetFocus(GetDlgItem(dialog, IDC_UNLOCK_WORD));
        return FALSE;
    case WM_COMMAND:
        // Only OK (or Enter) ends the prompt; Escape and Alt+F4 arrive as
        // IDCANCEL and are ignored.
        if (LOWORD(wParam) == IDOK)
            CheckTypedWord(dialog);
        return FALSE;
    case WM_DISPLAYCHANGE:
        CentreOnPrimaryScreen(dialog);
        return FALSE;
    case WM_DESTROY:
        if (UnlockPrompt.Window == dialog)
            UnlockPrompt.Window = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

static void InitUnlockPrompt(HWND dialog) {
    UnlockPrompt.Window = dialog;
    UnlockPrompt.OpenedAt = GetTickCount();
    SetActiveWindow(dialog);
    UnlockPrompt.Result = PromptResult::TimedOut;
    SetTimer(dialog, UnlockPromptTimeoutTimerId, UnlockPromptTimeout, UnlockPromptTimeoutTimer);
    SetTimer(dialog, UnlockPromptRaiseTimerId, UnlockPromptRaiseInterval, UnlockPromptRaiseTimer);
    // Asks a running on-screen keyboard to come forward; posted, never sent,
    // so a hung keyboard cannot stall this thread while the hooks are in.
    HWND keyboard = FindWindowA("OSKMainClass", nullptr);
    if (keyboard)
        PostMessageA(keyboard, OnScreenKeyboardMessage, 1, 0);
}

static void CheckTypedWord(HWND dialog) {
    char typed[UnlockWordBufferSize] = {};
    GetWindowTextA(GetDlgItem(dialog, IDC_UNLOCK_WORD), typed, UnlockWordBufferSize);
    EndDialog(dialog, 1);
    UnlockPrompt.Result =
        IsUnlockWord(Settings, typed) ? PromptResult::Matched : PromptResult::NotMatched;
}

void CALLBACK UnlockPromptTimeoutTimer(HWND dialog, UINT, UINT_PTR, DWORD) {
    KillTimer(dialog, UnlockPromptTimeoutTimerId);
    EndDialog(dialog, 0);
}

void CALLBACK UnlockPromptRaiseTimer(HWND dialog, UINT, UINT_PTR, DWORD) {
    SetForegroundWindow(dialog);
    ShowWindow(dialog, SW_SHOW);
}

void BringUnlockDialogToFront() {
    HWND dialog = UnlockDialogWindow();
    if (dialog)
        UnlockPromptRaiseTimer(dialog, WM_TIMER, UnlockPromptRaiseTimerId, 0);
}
