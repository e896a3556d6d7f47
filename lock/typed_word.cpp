// The unlock word typed while the keyboard is locked. This runs inside the
// blocking hook for every key, so it does a few table steps: what a key types
// is asked of the system once per layout, and the unlock itself waits for a
// timer on the program's thread, outside the hook.
#include "typed_word.h"
#include "../res/timer_ids.h"
#include "../settings/settings_record.h"
#include "../win/code_page.h"

TypedUnlockWord TypedWord;

// Shift (1) and Caps Lock (2) in the key state a translation reads.
static void SetModifierState(BYTE* state, unsigned modifiers) {
    state[VK_SHIFT] = (modifiers & 1) ? 0x80 : 0;
    state[VK_CAPITAL] = (modifiers & 2) ? 0x01 : 0;
}

WordMatcher::WordMatcher() : word(), fallback(), length(0), matched(0) {}

void WordMatcher::Start(const std::wstring& text) {
    length = text.size() <= LongestWord ? text.size() : 0;
    matched = 0;
    for (size_t i = 0; i < length; i++)
        word[i] = text[i];
    // The classic prefix function: the longest proper start of the word that
    // also ends its first i + 1 characters.
    if (length > 0)
        fallback[0] = 0;
    for (size_t i = 1, k = 0; i < length; i++) {
        while (k > 0 && word[i] != word[k])
            k = fallback[k - 1];
        if (word[i] == word[k])
            k++;
        fallback[i] = static_cast<unsigned char>(k);
    }
}

bool WordMatcher::Feed(wchar_t character) {
    if (length == 0)
        return false;
    while (matched > 0 && word[matched] != character)
        matched = fallback[matched - 1];
    if (word[matched] == character)
        matched++;
    if (matched < length)
        return false;
    matched = 0;
    return true;
}

TypedUnlockWord::TypedUnlockWord()
    : listening(false), shiftDown(0), capsLockOn(false), capsLockDown(false), layout(nullptr),
      typing(), deadKeyPending(false), deadKey(), deadKeyModifiers(0), window(nullptr),
      onTyped(nullptr) {}

// The prompt compares the bytes its field gives in the system code page with
// the stored word; the same word as characters is what its keys type.
static std::wstring TypedForm(const std::string& word) {
    std::wstring characters = WidenCodePage(CP_ACP, word);
    return characters.size() >= ShortestTypedUnlockWord ? characters : std::wstring();
}

void TypedUnlockWord::Listen(const SettingsRecord& settings, HWND timerWindow, TIMERPROC typed) {
    StopListening();
    const std::wstring word = TypedForm(settings.Password);
    const std::wstring before = TypedForm(settings.PasswordBefore);
    readings[0].Start(word);
    readings[1].Start(before);
    listening = !word.empty() || !before.empty();
    window = timerWindow;
    onTyped = typed;
    shiftDown = 0;
    capsLockDown = false;
    // The toggle as it stands when the lock starts; the hook swallows the
    // Caps Lock presses from then on, so it follows them itself.
    capsLockOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
    if (listening)
        FollowLayout();
}

void TypedUnlockWord::StopListening() {
    listening = false;
    deadKeyPending = false;
}

void TypedUnlockWord::FollowLayout() {
    const HKL now = GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    if (now == layout)
        return;
    layout = now;
    for (auto& key : typing)
        for (Typing& state : key)
            state.known = false;
    deadKeyPending = false;
}

bool TypedUnlockWord::OnKey(const KBDLLHOOKSTRUCT& key) {
    const bool up = (key.flags & LLKHF_UP) != 0;
    switch (key.vkCode) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT: {
        const unsigned bit = key.vkCode == VK_RSHIFT ? 2 : 1;
        shiftDown = up ? shiftDown & ~bit : shiftDown | bit;
        return false;
    }
    case VK_CAPITAL:
        // The toggle flips as the key goes down, not on its repeats.
        if (!up && !capsLockDown)
            capsLockOn = !capsLockOn;
        capsLockDown = !up;
        return false;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
        return false; // type nothing, and break no word
    default:
        break;
    }
    if (up)
        return false;
    wchar_t characters[4];
    const int count = KeyCharacters(key, characters);
    if (count < 0)
        return false;
    bool typed = false;
    // A key that types nothing (an arrow, Escape) breaks the word as a wrong
    // character would.
    if (count == 0)
        for (WordMatcher& reading : readings)
            reading.Feed(L'\0');
    for (int i = 0; i < count; i++)
        for (WordMatcher& reading : readings)
            typed = reading.Feed(characters[i]) || typed;
    if (typed)
        SetTimer(window, TypedWordTimerId, USER_TIMER_MINIMUM, onTyped);
    return typed;
}

int TypedUnlockWord::KeyCharacters(const KBDLLHOOKSTRUCT& key, wchar_t* characters) {
    // An on-screen keyboard may send characters rather than keys.
    if (key.vkCode == VK_PACKET) {
        characters[0] = static_cast<wchar_t>(key.scanCode);
        return 1;
    }
    // No Ctrl or Alt: the prompt never gets a key with those.
    const unsigned modifiers = (shiftDown ? 1 : 0) | (capsLockOn ? 2 : 0);
    if (deadKeyPending) {
        // The dead key and this one together, as the prompt would have
        // composed them: the dead key goes to the system first, then this
        // key completes it.
        deadKeyPending = false;
        BYTE state[256] = {};
        SetModifierState(state, deadKeyModifiers);
        wchar_t ignored[4];
        ToUnicodeEx(deadKey.vkCode, deadKey.scanCode, state, ignored, 4, 0, layout);
        return Translate(key.vkCode, key.scanCode, modifiers, characters);
    }
    Typing& known = typing[key.vkCode & 0xFF][modifiers];
    if (!known.known) {
        known.count = static_cast<signed char>(
            Translate(key.vkCode, key.scanCode, modifiers, known.characters));
        known.known = true;
    }
    if (known.count < 0) {
        deadKeyPending = true;
        deadKey = key;
        deadKeyModifiers = modifiers;
        return -1;
    }
    for (int i = 0; i < known.count; i++)
        characters[i] = known.characters[i];
    return known.count;
}

int TypedUnlockWord::Translate(DWORD virtualKey, DWORD scanCode, unsigned modifiers,
                               wchar_t* characters) {
    BYTE state[256] = {};
    SetModifierState(state, modifiers);
    const int count = ToUnicodeEx(virtualKey, scanCode, state, characters, 4, 0, layout);
    if (count >= 0)
        return count < 4 ? count : 4;
    // A dead key stays pending in the system until a key completes it; a
    // space does, so the next program to translate a key finds nothing left.
    BYTE none[256] = {};
    wchar_t ignored[4];
    ToUnicodeEx(VK_SPACE, 0, none, ignored, 4, 0, layout);
    return -1;
}
