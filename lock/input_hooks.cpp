// The three low-level hook procedures installed by the lock controller. Each is
// a thin adapter over a decision function, and each returns at once: Windows
// silently unhooks a low-level hook that keeps the input queue waiting.
#include "input_hooks.h"
#include "mouse_region.h"
#include "typed_word.h"
#include "unlock_prompt.h"

static bool IsOwnDialogInFront();
static bool IsOwnWindowAt(POINT point);

static HWND WINAPI CallWindowFromPoint(POINT point) {
    return WindowFromPoint(point);
}
WindowAtPointFunction WindowAtPoint = CallWindowFromPoint;

// The word filter's record of the keys it has seen. The system's key state is
// no use for it: a key that was down when a hook went in has its release
// swallowed and would read as down for good.
static WordFilterState FilterState = {0, 0};

void ForgetHeldKeys() {
    FilterState = {0, 0};
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

LRESULT CALLBACK BlockAllKeysProc(int code, WPARAM, LPARAM lParam) {
    // The unlock word typed anywhere unlocks: the keys are read on the way,
    // and swallowed all the same.
    if (code == HC_ACTION && TypedWord.Listening())
        TypedWord.OnKey(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam));
    return 1;
}

LRESULT CALLBACK UnlockWordKeyFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION)
        return 1;
    const KBDLLHOOKSTRUCT* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    WordFilterEvent event = {code,  key->vkCode, key->scanCode,   (key->flags & LLKHF_UP) != 0,
                             false, false,       IsOwnInput(*key)};
    if (!event.ownInput) {
        event.ownDialogInFront = IsOwnDialogInFront();
        // Asked only for a release: the one call that costs a trip to the system.
        if (event.keyUp && event.ownDialogInFront)
            event.systemCountsDown =
                (GetAsyncKeyState(static_cast<int>(key->vkCode)) & 0x8000) != 0;
    }
    const WordFilterStep step = StepWordFilter(FilterState, event);
    // Recorded before anything is sent: what is sent comes back through here.
    FilterState = step.next;
    if (step.action == KeyAction::Pass)
        return CallNextHookEx(nullptr, 0, wParam, lParam);
    SendInPlaceOf(step, key->vkCode);
    return 1;
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

static bool IsOwnDialogInFront() {
    HWND dialog = UnlockDialogWindow();
    return dialog && GetForegroundWindow() == dialog;
}
