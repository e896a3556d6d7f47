// Unlocking by typing the unlock word anywhere while the keyboard is locked,
// with no prompt: the blocking hook reads every key as the prompt would have
// received it, swallows it, and matches the word as the keys come.
#pragma once
#include <windows.h>
#include <string>

struct SettingsRecord;

// Matches a word against characters fed one at a time, anywhere in the
// stream. After a wrong character it goes on from the longest part already
// typed that could still begin the word (its prefix function), so "titiger"
// finds "tiger".
class WordMatcher {
  public:
    static const size_t LongestWord = 32;

    WordMatcher();
    // An empty word, or a longer one than LongestWord, matches nothing.
    void Start(const std::wstring& word);
    // True when this character completes the word; the match starts over.
    bool Feed(wchar_t character);
    size_t Matched() const { return matched; }

  private:
    wchar_t word[LongestWord];
    // fallback[i]: how much of the word is still matched when the character
    // after its first i + 1 characters is wrong, before that one is tried.
    unsigned char fallback[LongestWord];
    size_t length;
    size_t matched;
};

// Words shorter than this are not listened for: a toddler typing four given
// letters in order by chance is far less likely than one finding Ctrl+Alt+Del.
const size_t ShortestTypedUnlockWord = 4;

class TypedUnlockWord {
  public:
    TypedUnlockWord();
    TypedUnlockWord(const TypedUnlockWord&) = delete;
    TypedUnlockWord& operator=(const TypedUnlockWord&) = delete;

    // Listens afresh for the unlock word (either reading of it, each of at
    // least ShortestTypedUnlockWord characters); when it is typed, sets a
    // timer on window with onTyped. Without such a word it does not listen.
    void Listen(const SettingsRecord& settings, HWND window, TIMERPROC onTyped);
    void StopListening();
    bool Listening() const { return listening; }
    // Takes the keyboard layout of the foreground window's thread, and
    // forgets what the keys typed when it changed. Asked when listening
    // starts and on the lock's watchdog tick, never inside the hook.
    void FollowLayout();
    // One event of the blocking hook; true when it completed the word (and
    // set the timer). Shift and Caps Lock are followed here, as the system's
    // key state does not see keys the hook swallows.
    bool OnKey(const KBDLLHOOKSTRUCT& key);

  private:
    // What a key types with Shift (1) and Caps Lock (2) or not: up to four
    // characters, or -1 for a dead key, which waits for the next key.
    struct Typing {
        bool known;
        signed char count;
        wchar_t characters[4];
    };
    int KeyCharacters(const KBDLLHOOKSTRUCT& key, wchar_t* characters);
    // The layout's translation, leaving no dead key pending in the system.
    int Translate(DWORD virtualKey, DWORD scanCode, unsigned modifiers, wchar_t* characters);

    WordMatcher readings[2];
    bool listening;
    unsigned shiftDown; // one bit for each Shift key
    bool capsLockOn;
    bool capsLockDown;
    HKL layout;
    // The system translates a key once per layout (a trip to the display
    // server under some systems); the hook reads it from here after that.
    Typing typing[256][4];
    bool deadKeyPending;
    KBDLLHOOKSTRUCT deadKey;
    unsigned deadKeyModifiers;
    HWND window;
    TIMERPROC onTyped;
};

// The blocking keyboard hook's listener; the lock starts and stops it.
extern TypedUnlockWord TypedWord;
