// The word filter's decisions: while the program's own unlock word prompt or
// its "did not match" box is in front, the keys a word is typed with reach
// it, on every keyboard layout, and no key press reaches any other window.
#pragma once
#include <windows.h>

// True for the keys that typing an unlock word needs (letters, digits, keypad,
// punctuation, Space, Backspace, Enter, the input method keys).
bool IsUnlockWordKey(DWORD virtualKey);

// What the filter does with a key event.
enum class KeyAction {
    Swallow,
    Pass,
    // A masking key press first, then the release: a Win or Alt key released
    // with no other key pressed since its down opens the Start menu or a menu
    // bar, and the system saw its down before the filter went in.
    PassAfterMask,
    // The held-back Win or Left Alt goes down first, then this key: the
    // layout-switch chords Win+Space and Left Alt+Shift.
    PassChord,
};

// The keys the filter has seen go down, and those of the modifiers whose down
// it let through to the system, one bit each.
struct WordFilterState {
    unsigned held;
    unsigned passed;
};

struct WordFilterEvent {
    int code;
    DWORD virtualKey;
    DWORD scanCode;
    bool keyUp;
    bool ownDialogInFront; // the program's own prompt or "did not match" box
    bool systemCountsDown; // a release of a key the system still counts as down
    bool ownInput;         // sent by the program itself (see OwnInputMark)
};

struct WordFilterStep {
    KeyAction action;
    WordFilterState next;
    DWORD chordKey; // PassChord: the key that goes down before this one
};

WordFilterStep StepWordFilter(WordFilterState state, const WordFilterEvent& event);

// The extra information of every key event the program sends itself (a
// masking key, a chord, a release), which the filter lets through as it is.
const ULONG_PTR OwnInputMark = 0x4D6F7262;
bool IsOwnInput(const KBDLLHOOKSTRUCT& key);

// Sends the events (a key and whether it is a release) as the program's own.
struct OwnKey {
    DWORD virtualKey;
    bool up;
};
void SendOwnKeys(const OwnKey* keys, int count);

// Sends what a PassAfterMask or PassChord step puts in place of the event.
void SendInPlaceOf(const WordFilterStep& step, DWORD virtualKey);

// A key released while a hook swallowed it stays down for the system, and
// with it Ctrl, Alt or Win would turn the next letters into shortcuts.
enum class HeldKeys {
    Modifiers, // Shift, Ctrl, Alt and Win
    All,
};
// Sends a release for each of these keys the system counts as down, after a
// masking key press so that a released Win or Alt opens nothing.
void ReleaseKeysHeldDown(HeldKeys which);
