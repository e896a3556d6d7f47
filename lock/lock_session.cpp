// The hooks a lock holds. Windows drops a low-level hook that once took too
// long, and may drop hooks around sleep and session switches, without telling
// the program: what is held is remembered apart from whether its hook is in.
#include "lock_session.h"
#include "input_hooks.h"
#include "typed_word.h"

static void DiscardPendingKeyboardMessages();

static HHOOK WINAPI CallSetWindowsHookEx(int type, HOOKPROC procedure, HINSTANCE module,
                                         DWORD thread) {
    return SetWindowsHookExA(type, procedure, module, thread);
}
// Constant initialisation: valid before any constructor runs.
InstallHookFunction InstallHook = CallSetWindowsHookEx;

LockSession Lock;

LockSession::LockSession()
    : Unlocked(true), ImmediateLock(false), UnlockRequestRunning(false), Host(), keyboardHook(),
      mouseHook(), keyboardProcedure(nullptr), keyboardHeld(false), mouseHeld(false) {}

void LockSession::HoldKeyboard(HOOKPROC procedure) {
    keyboardHeld = true;
    keyboardProcedure = procedure;
    ReplaceHook(keyboardHook, WH_KEYBOARD_LL, keyboardProcedure);
}

void LockSession::HoldMouse() {
    mouseHeld = true;
    ReplaceHook(mouseHook, WH_MOUSE_LL, MouseConfineProc);
}

void LockSession::ExchangeKeyboardHook(HOOKPROC procedure) {
    DiscardPendingKeyboardMessages();
    keyboardProcedure = procedure;
    ReplaceHook(keyboardHook, WH_KEYBOARD_LL, procedure);
}

void LockSession::ReinstallHooks() {
    if (keyboardHeld)
        ReplaceHook(keyboardHook, WH_KEYBOARD_LL, keyboardProcedure);
    if (mouseHeld)
        ReplaceHook(mouseHook, WH_MOUSE_LL, MouseConfineProc);
}

void LockSession::LetGo() {
    DiscardPendingKeyboardMessages();
    keyboardHook.Reset();
    keyboardProcedure = nullptr;
    TypedWord.StopListening();
    // Keys let go while the hook swallowed them are still down for the system.
    if (keyboardHeld)
        ReleaseKeysHeldDown(HeldKeys::All);
    keyboardHeld = false;
    mouseHook.Reset();
    mouseHeld = false;
}

// The new hook goes in before the old one comes out, so input is never
// unguarded in between. When the new one fails the old one stays: it may
// still be working, and the watchdog tries again.
void LockSession::ReplaceHook(OwnedHook& hook, int type, HOOKPROC procedure) {
    HHOOK fresh = InstallHook(type, procedure, Host.Instance, 0);
    if (!fresh)
        return;
    // A new keyboard hook is told of no key pressed before it went in.
    if (type == WH_KEYBOARD_LL)
        ForgetHeldKeys();
    hook.Reset(fresh);
}

static void DiscardPendingKeyboardMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}
