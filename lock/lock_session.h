// The lock session: whether a lock is pending or engaged, the two low-level
// hooks and what they hold, and the unlock request in progress.
#pragma once
#include "../win/owner.h"
#include <windows.h>

class CSystemTray;

// What the lock needs of the program around it, handed over by start-up once
// the main window exists (and taken back when it goes).
struct LockHost {
    HWND Window; // the hidden main window: the lock's timers, the covers' and prompt's owner
    HINSTANCE Instance;
    CSystemTray* Tray;
    const wchar_t* LockItemText;   // the tray menu's lock item while unlocked
    const wchar_t* UnlockItemText; // and while a lock is pending or engaged
    const wchar_t* LockTipText;    // the tray icon's tooltip while unlocked
    const wchar_t* UnlockTipText;  // and while locked
};

// Every hook the lock installs goes through this pointer (SetWindowsHookExA),
// so tests can make an installation fail.
typedef HHOOK(WINAPI* InstallHookFunction)(int type, HOOKPROC procedure, HINSTANCE module,
                                           DWORD thread);
extern InstallHookFunction InstallHook;

class LockSession {
  public:
    LockSession();
    LockSession(const LockSession&) = delete;
    LockSession& operator=(const LockSession&) = delete;

    bool Unlocked;      // no lock pending or engaged
    bool ImmediateLock; // the next lock engages without countdown or balloons
    // True while RequestUnlock runs: its prompt and message box pump messages,
    // and a tray double-tap dispatched there must not start a second request.
    bool UnlockRequestRunning;
    LockHost Host;

    HHOOK KeyboardHook() const { return keyboardHook; }
    HHOOK MouseHook() const { return mouseHook; }
    // The procedure behind the keyboard hook (BlockAllKeysProc or the word
    // filter), or none while no keyboard hook is in.
    HOOKPROC KeyboardHookProcedureInUse() const {
        return keyboardHook ? keyboardProcedure : nullptr;
    }
    // True from the engagement of a lock that holds the keyboard (or the
    // mouse) until its release, whether or not the hook is in right now.
    bool KeyboardHeld() const { return keyboardHeld; }
    bool MouseHeld() const { return mouseHeld; }

    void HoldKeyboard(HOOKPROC procedure);
    void HoldMouse();
    // Swaps the keyboard hook's procedure (the word filter while the prompt is
    // open), dropping the keys typed meanwhile.
    void ExchangeKeyboardHook(HOOKPROC procedure);
    // Puts back each hook held, also one whose installation failed; the
    // keyboard keeps its procedure.
    void ReinstallHooks();
    // Removes both hooks and holds nothing, dropping the keys typed meanwhile.
    void LetGo();

  private:
    void ReplaceHook(OwnedHook& hook, int type, HOOKPROC procedure);

    OwnedHook keyboardHook;
    OwnedHook mouseHook;
    HOOKPROC keyboardProcedure; // kept for a re-installation
    bool keyboardHeld;
    bool mouseHeld;
};

extern LockSession Lock;
