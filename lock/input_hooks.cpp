// The three low-level hook procedures installed by the lock controller. Each is
// a thin adapter over a decision function, and each returns at once: Windows
// silently unhooks a low-level hook that keeps the input queue waiting.
#include "input_hooks.h"
#include "mouse_region.h"
#include "unlock_prompt.h"

static bool IsModifierKey(DWORD virtualKey);
static bool IsOwnDialogInFront();
static bool IsOwnWindowAt(POINT point);

static HWND WINAPI CallWindowFromPoint(POINT point) {
    return WindowFromPoint(point);
}
WindowAtPointFunction WindowAtPoint = CallWindowFromPoint;

// The word filter's record of Ctrl, Alt and Tab. The system's key state is no
// use here: a key that was down when a hook went in has its release swallowed
// and would read as down for good.
static unsigned HeldModifiers = 0;

bool IsUnlockWordKey(DWORD virtualKey) {
    struct KeyRange {
        DWORD first;
        DWORD last;
    };
    static const KeyRange allowed[] = {
        {VK_BACK, VK_BACK},       // Backspace
        {VK_RETURN, VK_RETURN},   // Enter
        {VK_JUNJA, VK_HANJA},     // input method keys (0x17 to 0x19)
        {VK_SPACE, VK_SPACE},     // Space
        {'0', '9'},               // digits
        {'A', 'Z'},               // letters
        {VK_NUMPAD0, VK_DIVIDE},  // keypad digits and operators (0x60 to 0x6F)
        {VK_OEM_1, VK_OEM_3},     // ; = , - . / ` (0xBA to 0xC0)
        {VK_OEM_4, VK_OEM_8},     // [ \ ] ' and OEM 8 (0xDB to 0xDF)
        {VK_OEM_102, VK_OEM_102}, // the extra key left of Z on ISO keyboards
    };
    for (const KeyRange& range : allowed)
        if (virtualKey >= range.first && virtualKey <= range.last)
            return true;
    return false;
}

bool UnlockWordFilterLetsThrough(const WordFilterEvent& event) {
    if (event.code != HC_ACTION)
        return false;
    // Keys go only to the program's own prompt and box, never to whatever
    // other window got in front of them.
    if (!event.ownDialogInFront)
        return false;
    // Shift itself must pass even while another modifier is down, or capitals
    // and shifted punctuation would depend on the order keys were pressed.
    if (event.virtualKey == VK_LSHIFT || event.virtualKey == VK_RSHIFT)
        return true;
    // A released Ctrl, Alt or Tab passes, so that a key pressed before the
    // lock does not stay down for the prompt either.
    if (event.keyUp && IsModifierKey(event.virtualKey))
        return true;
    // Ctrl, Alt and Tab open the ways out of the prompt (task switching, Alt+F4,
    // Ctrl+Esc, moving the focus); nothing passes while one of them is held.
    if (event.modifierHeld)
        return false;
    return IsUnlockWordKey(event.virtualKey);
}

unsigned TrackHeldModifiers(unsigned held, DWORD virtualKey, bool keyUp) {
    unsigned bit = 0;
    switch (virtualKey) {
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        bit = 1;
        break;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        bit = 2;
        break;
    case VK_TAB:
        bit = 4;
        break;
    default:
        return held;
    }
    return keyUp ? held & ~bit : held | bit;
}

void ForgetHeldModifiers() {
    HeldModifiers = 0;
}

MouseDecision DecideMouseEvent(POINT point, UINT message, int cornerX, int cornerY, RECT trayIcon,
                               bool overOwnWindow) {
    const int left = cornerX - PointerCornerMargin;
    const int top = cornerY - PointerCornerMargin;
    MouseDecision decision = {false, point};
    if (point.x < left && point.y < top)
        decision.cursor = {left, top};
    else if (point.x < left)
        decision.cursor = {left, point.y};
    else if (point.y < top)
        decision.cursor = {point.x, top};
    else
        decision.letThrough = message == WM_MOUSEMOVE || IsRectEmpty(&trayIcon) ||
                              PtInRect(&trayIcon, point) || overOwnWindow;
    return decision;
}

LRESULT CALLBACK BlockAllKeysProc(int, WPARAM, LPARAM) {
    return 1;
}

LRESULT CALLBACK UnlockWordKeyFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION)
        return 1;
    const KBDLLHOOKSTRUCT* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool keyUp = (key->flags & LLKHF_UP) != 0;
    HeldModifiers = TrackHeldModifiers(HeldModifiers, key->vkCode, keyUp);
    const WordFilterEvent event = {code, key->vkCode, keyUp, HeldModifiers != 0,
                                   IsOwnDialogInFront()};
    if (!UnlockWordFilterLetsThrough(event))
        return 1;
    return CallNextHookEx(nullptr, 0, wParam, lParam);
}

MouseDecision DecideMouseHookEvent(POINT point, UINT message) {
    // Moves are the bulk of the events; only a button asks what is under it.
    const bool overOwnWindow = message != WM_MOUSEMOVE && IsOwnWindowAt(point);
    const POINT corner = PointerRegion.Corner();
    return DecideMouseEvent(point, message, corner.x, corner.y, PointerRegion.TrayIconRect(),
                            overOwnWindow);
}

LRESULT CALLBACK MouseConfineProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSLLHOOKSTRUCT* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    // The hook's point is in physical pixels, whatever a program declares. The
    // region, the tray icon's rectangle, WindowFromPoint and SetCursorPos are
    // in physical pixels too because the manifest makes this process
    // per-monitor DPI aware; without that, Windows at 125 % and more would
    // hand them to us in 96-dpi units and the two spaces would not meet.
    const MouseDecision decision = DecideMouseHookEvent(mouse->pt, (UINT)wParam);
    // The hook handle argument of CallNextHookEx is ignored since Windows NT.
    if (decision.letThrough)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    // A swallowed button inside the region leaves the pointer where it is.
    if (decision.cursor.x != mouse->pt.x || decision.cursor.y != mouse->pt.y)
        SetCursorPos(decision.cursor.x, decision.cursor.y);
    return 1;
}

// WindowFromPoint works from the window list the system keeps; it sends
// nothing to other programs' windows, so the hook cannot be kept waiting.
static bool IsOwnWindowAt(POINT point) {
    HWND window = WindowAtPoint(point);
    DWORD process = 0;
    if (window)
        GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

static bool IsModifierKey(DWORD virtualKey) {
    return TrackHeldModifiers(0, virtualKey, false) != 0;
}

static bool IsOwnDialogInFront() {
    HWND dialog = UnlockDialogWindow();
    return dialog && GetForegroundWindow() == dialog;
}
