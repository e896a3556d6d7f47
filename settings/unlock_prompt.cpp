// The small modal prompt that asks for the unlock word. It only answers whether
// the word matched; what to unlock is the lock controller's decision.
#include "unlock_prompt.h"
#include "dialog_placement.h"
#include "settings_controller.h"
#include "settings_store.h"
#include "../res/resource.h"
#include <cstring>

static void InitUnlockPrompt(HWND dialog);
static void CheckTypedWord(HWND dialog);

int UnlockPromptResult = PromptTimedOut;
HWND UnlockPromptWindow = nullptr;

int SettingsController::PromptForUnlockWord(HWND owner) {
    UnlockPromptOpen = true;
    // Cleared here as well as when the dialog starts: should the dialog fail
    // to come up, an answer left over from an earlier prompt must not count.
    UnlockPromptResult = PromptTimedOut;
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UNLOCKWORD), owner,
                    UnlockWordDialogProc, 0);
    UnlockPromptOpen = false;
    if (UnlockPromptResult == PromptMatched)
        return UnlockWordAccepted;
    if (UnlockPromptResult == PromptNotMatched)
        MessageBoxA(owner, "The unlock word did not match", "Unlock Word Check",
                    MB_OK | MB_TOPMOST);
    return UnlockWordRefused;
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
        if (UnlockPromptWindow == dialog)
            UnlockPromptWindow = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

static void InitUnlockPrompt(HWND dialog) {
    UnlockPromptWindow = dialog;
    SetActiveWindow(dialog);
    UnlockPromptResult = PromptTimedOut;
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
    const std::string& stored = Settings.Password;
    const size_t length = strlen(typed);
    const bool match = stored.size() == length && memcmp(stored.data(), typed, length) == 0;
    UnlockPromptResult = match ? PromptMatched : PromptNotMatched;
}

void CALLBACK UnlockPromptTimeoutTimer(HWND dialog, UINT, UINT_PTR, DWORD) {
    KillTimer(dialog, UnlockPromptTimeoutTimerId);
    EndDialog(dialog, 0);
}

void CALLBACK UnlockPromptRaiseTimer(HWND dialog, UINT, UINT_PTR, DWORD) {
    SetForegroundWindow(dialog);
    ShowWindow(dialog, SW_SHOW);
}

void BringUnlockPromptToFront() {
    if (UnlockPromptWindow)
        UnlockPromptRaiseTimer(UnlockPromptWindow, WM_TIMER, UnlockPromptRaiseTimerId, 0);
}
