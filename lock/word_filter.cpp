// The word filter's decisions. Ctrl, Alt, Tab and Win open the ways out of the
// prompt (task switching, Alt+F4, Ctrl+Esc, the Start menu, moving the focus),
// so while one of them is down nothing else passes, except what a word on
// some layout is typed with: AltGr, Shift, and the layout-switch chords.
#include "word_filter.h"

static unsigned KeyBit(DWORD virtualKey, DWORD scanCode);
static KeyAction DecideKeyDown(const WordFilterState& state, DWORD virtualKey, unsigned bit,
                               WordFilterStep* step);
static DWORD HeldWinKey(unsigned heldBackWins);

// Windows sends this Left Ctrl ahead of Right Alt on layouts with AltGr
// (German, French, Polish...), so that AltGr reads as Ctrl+Alt to programs.
static const DWORD AltGrCtrlScanCode = 0x21D;
// An unassigned key code: pressed between a Win or Alt down and its release
// it opens nothing and means nothing to any program.
static const WORD MaskKey = 0xE8;

enum : unsigned {
    HeldCtrl = 1u << 0,
    HeldAltGrCtrl = 1u << 1,
    HeldLeftAlt = 1u << 2,
    HeldRightAlt = 1u << 3,
    HeldTab = 1u << 4,
    HeldLeftWin = 1u << 5,
    HeldRightWin = 1u << 6,
    HeldShift = 1u << 7,
};
static const unsigned HeldWins = HeldLeftWin | HeldRightWin;
// Any of these down makes the next key a shortcut.
static const unsigned ShortcutKeys =
    HeldCtrl | HeldAltGrCtrl | HeldLeftAlt | HeldRightAlt | HeldTab | HeldWins;
// Released alone, these open the Start menu or a menu bar.
static const unsigned MenuKeys = HeldLeftAlt | HeldRightAlt | HeldWins;

bool IsUnlockWordKey(DWORD virtualKey) {
    struct KeyRange {
        DWORD first;
        DWORD last;
    };
    static const KeyRange allowed[] = {
        {VK_BACK, VK_BACK},             // Backspace
        {VK_RETURN, VK_RETURN},         // Enter
        {VK_KANA, VK_IME_ON},           // Kana or Hangul, IME on (0x15, 0x16)
        {VK_JUNJA, VK_HANJA},           // Junja, Final, Hanja or Kanji (0x17 to 0x19)
        {VK_IME_OFF, VK_IME_OFF},       // 0x1A
        {VK_CONVERT, VK_MODECHANGE},    // convert, nonconvert, accept, mode change (0x1C to 0x1F)
        {VK_SPACE, VK_SPACE},           // Space
        {'0', '9'},                     // digits
        {'A', 'Z'},                     // letters
        {VK_NUMPAD0, VK_DIVIDE},        // keypad digits and operators (0x60 to 0x6F)
        {VK_OEM_1, VK_OEM_3},           // ; = , - . / ` (0xBA to 0xC0)
        {VK_OEM_4, VK_OEM_8},           // [ \ ] ' and OEM 8 (0xDB to 0xDF)
        {VK_OEM_102, VK_OEM_102},       // the extra key left of Z on ISO keyboards
        {VK_PROCESSKEY, VK_PROCESSKEY}, // a key an input method took (0xE5)
        {0xF0, 0xF5},                   // the Japanese input method's mode keys
    };
    for (const KeyRange& range : allowed)
        if (virtualKey >= range.first && virtualKey <= range.last)
            return true;
    return false;
}

WordFilterStep StepWordFilter(WordFilterState state, const WordFilterEvent& event) {
    WordFilterStep step = {KeyAction::Swallow, state, 0};
    if (event.code != HC_ACTION)
        return step;
    // A mask, a chord or a release the program sent was decided already.
    if (event.ownInput) {
        step.action = KeyAction::Pass;
        return step;
    }
    const unsigned bit = KeyBit(event.virtualKey, event.scanCode);
    if (event.keyUp) {
        step.next.held &= ~bit;
        step.next.passed &= ~bit;
        // A release passes whenever the system counts the key as down, also
        // one pressed before the lock: otherwise it would stay down and turn
        // the letters that follow into shortcuts.
        if (event.ownDialogInFront && event.systemCountsDown)
            step.action = (bit & MenuKeys) && !(state.passed & bit) ? KeyAction::PassAfterMask
                                                                    : KeyAction::Pass;
        return step;
    }
    step.next.held |= bit;
    // Keys go only to the program's own prompt and box, never to whatever
    // other window got in front of them.
    if (event.ownDialogInFront)
        step.action = DecideKeyDown(state, event.virtualKey, bit, &step);
    return step;
}

static KeyAction DecideKeyDown(const WordFilterState& state, DWORD virtualKey, unsigned bit,
                               WordFilterStep* step) {
    const unsigned held = state.held, passed = state.passed;
    unsigned shortcut = held & ShortcutKeys;
    // With AltGr down (its Left Ctrl and its Right Alt both passed) the keys
    // type characters, as they do on every layout that has it.
    if ((passed & HeldAltGrCtrl) && (passed & HeldRightAlt))
        shortcut &= ~(HeldAltGrCtrl | HeldRightAlt);
    // Held back, and not yet sent as part of a chord.
    const unsigned heldBack = held & ~passed;
    switch (bit) {
    case HeldShift:
        // Shift passes even while a modifier is down, or capitals would depend
        // on the order keys were pressed; after a lone held-back Left Alt it
        // makes the chord.
        if (shortcut == HeldLeftAlt && (heldBack & HeldLeftAlt)) {
            step->next.passed |= HeldLeftAlt;
            step->chordKey = VK_LMENU;
            return KeyAction::PassChord;
        }
        return KeyAction::Pass;
    case HeldLeftAlt:
        // Held back until Shift makes it a chord: released alone it would
        // activate a menu bar. After Shift it is the chord at once.
        if ((passed & HeldLeftAlt) || ((held & HeldShift) && shortcut == 0)) {
            step->next.passed |= HeldLeftAlt;
            return KeyAction::Pass;
        }
        return KeyAction::Swallow;
    case HeldLeftWin:
    case HeldRightWin:
        // Held back until Space makes it a chord: alone it opens the Start
        // menu, and with a letter it is a shortcut. A repeat of a sent Win passes.
        return (passed & bit) ? KeyAction::Pass : KeyAction::Swallow;
    case HeldAltGrCtrl:
        if ((passed & bit) || shortcut == 0) {
            step->next.passed |= bit;
            return KeyAction::Pass;
        }
        return KeyAction::Swallow;
    case HeldRightAlt:
        // AltGr only right after its own Left Ctrl; a plain Right Alt is Alt.
        if ((passed & bit) || ((passed & HeldAltGrCtrl) && (shortcut & ~HeldAltGrCtrl) == 0)) {
            step->next.passed |= bit;
            return KeyAction::Pass;
        }
        return KeyAction::Swallow;
    default:
        break;
    }
    if (virtualKey == VK_SPACE && (held & HeldWins) && (shortcut & ~HeldWins) == 0) {
        if (passed & HeldWins)
            return KeyAction::Pass; // the chord made already: the next layout
        const unsigned win = (heldBack & HeldLeftWin) ? HeldLeftWin : HeldRightWin;
        step->next.passed |= win;
        step->chordKey = HeldWinKey(win);
        return KeyAction::PassChord;
    }
    return shortcut == 0 && IsUnlockWordKey(virtualKey) ? KeyAction::Pass : KeyAction::Swallow;
}

static unsigned KeyBit(DWORD virtualKey, DWORD scanCode) {
    switch (virtualKey) {
    case VK_LCONTROL:
        return scanCode == AltGrCtrlScanCode ? HeldAltGrCtrl : HeldCtrl;
    case VK_CONTROL:
    case VK_RCONTROL:
        return HeldCtrl;
    case VK_MENU:
    case VK_LMENU:
        return HeldLeftAlt;
    case VK_RMENU:
        return HeldRightAlt;
    case VK_TAB:
        return HeldTab;
    case VK_LWIN:
        return HeldLeftWin;
    case VK_RWIN:
        return HeldRightWin;
    case VK_LSHIFT:
    case VK_RSHIFT:
        return HeldShift;
    default:
        return 0;
    }
}

static DWORD HeldWinKey(unsigned win) {
    return win == HeldLeftWin ? VK_LWIN : VK_RWIN;
}

bool IsOwnInput(const KBDLLHOOKSTRUCT& key) {
    return (key.flags & LLKHF_INJECTED) && key.dwExtraInfo == OwnInputMark;
}

// At most one release for every key code, after a masking key press.
static const int MostOwnKeys = 260;

void SendOwnKeys(const OwnKey* keys, int count) {
    INPUT inputs[MostOwnKeys] = {};
    if (count > MostOwnKeys)
        count = MostOwnKeys;
    for (int i = 0; i < count; i++) {
        KEYBDINPUT& key = inputs[i].ki;
        inputs[i].type = INPUT_KEYBOARD;
        key.wVk = static_cast<WORD>(keys[i].virtualKey);
        // Right Alt, Right Ctrl, Win and the like are told apart from their
        // left or keypad twins by the extended flag.
        const UINT scan = MapVirtualKeyW(keys[i].virtualKey, MAPVK_VK_TO_VSC_EX);
        key.wScan = static_cast<WORD>(scan & 0xFF);
        key.dwFlags = (keys[i].up ? KEYEVENTF_KEYUP : 0) |
                      ((scan & 0xFF00) == 0xE000 ? KEYEVENTF_EXTENDEDKEY : 0);
        key.dwExtraInfo = OwnInputMark;
    }
    if (count > 0)
        SendInput(static_cast<UINT>(count), inputs, sizeof(INPUT));
}

void SendInPlaceOf(const WordFilterStep& step, DWORD virtualKey) {
    if (step.action == KeyAction::PassAfterMask) {
        const OwnKey keys[] = {{MaskKey, false}, {MaskKey, true}, {virtualKey, true}};
        SendOwnKeys(keys, 3);
    } else if (step.action == KeyAction::PassChord) {
        const OwnKey keys[] = {{step.chordKey, false}, {virtualKey, false}};
        SendOwnKeys(keys, 2);
    }
}

void ReleaseKeysHeldDown(HeldKeys which) {
    OwnKey releases[MostOwnKeys] = {{MaskKey, false}, {MaskKey, true}};
    int count = 2;
    for (DWORD key = VK_CANCEL; key < 0xFF; key++) {
        // Mouse buttons, the sides-alike Shift, Ctrl and Alt (their left and
        // right keys count), the key that carries characters, and the mask.
        if ((key >= VK_MBUTTON && key <= VK_XBUTTON2) || (key >= VK_SHIFT && key <= VK_MENU) ||
            key == VK_PACKET || key == MaskKey)
            continue;
        const bool modifier =
            (key >= VK_LSHIFT && key <= VK_RMENU) || key == VK_LWIN || key == VK_RWIN;
        if ((modifier || which == HeldKeys::All) &&
            (GetAsyncKeyState(static_cast<int>(key)) & 0x8000))
            releases[count++] = {key, true};
    }
    if (count > 2)
        SendOwnKeys(releases, count);
}
