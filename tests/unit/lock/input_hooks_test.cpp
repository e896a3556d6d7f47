// The hook decisions against full tables, and the hook procedures for real.
#include "support/lock_fixture.h"
#include "support/in_process_app.h"
#include "support/prompt_driver.h"
#include "support/wait.h"
#include "app/main_window.h"
#include "lock/input_hooks.h"
#include "lock/lock_controller.h"
#include "lock/mouse_region.h"
#include "lock/unlock_prompt.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// The keys a word is typed with, listed one by one.
std::set<DWORD> WordKeys() {
    std::set<DWORD> keys = {0x08, 0x0D, 0x17, 0x18, 0x19, 0x20, 0xE2};
    for (DWORD key = '0'; key <= '9'; key++)
        keys.insert(key);
    for (DWORD key = 'A'; key <= 'Z'; key++)
        keys.insert(key);
    for (DWORD key = 0x60; key <= 0x6F; key++)
        keys.insert(key);
    for (DWORD key = 0xBA; key <= 0xC0; key++)
        keys.insert(key);
    for (DWORD key = 0xDB; key <= 0xDF; key++)
        keys.insert(key);
    // Input method keys: Hangul or Kana, IME on and off, conversion, the
    // processed key and the Japanese mode keys.
    for (DWORD key :
         {0x15, 0x16, 0x1A, 0x1C, 0x1D, 0x1E, 0x1F, 0xE5, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5})
        keys.insert(key);
    return keys;
}

const KeyAction S = KeyAction::Swallow, P = KeyAction::Pass, M = KeyAction::PassAfterMask;

KeyAction Step(WordFilterState state, DWORD key, bool up, bool systemDown = false,
               bool inFront = true, int code = HC_ACTION, bool own = false) {
    return StepWordFilter(state, {code, key, 0, up, inFront, systemDown, own}).action;
}

TEST(UnlockWordFilter, LetsThroughOnlyWordKeysAndShiftToTheProgramsOwnDialog) {
    const std::set<DWORD> wordKeys = WordKeys();
    const std::set<DWORD> menuKeys = {VK_MENU, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN};
    const WordFilterState none = {0, 0};
    const WordFilterState ctrlHeld =
        StepWordFilter(none, {HC_ACTION, VK_LCONTROL, 0, false, true, false, false}).next;
    for (DWORD key = 0; key < 256; key++) {
        SCOPED_TRACE(testing::Message() << "vk 0x" << std::hex << key);
        const bool shift = key == VK_LSHIFT || key == VK_RSHIFT;
        EXPECT_EQ(Step(none, key, false), shift || wordKeys.count(key) ? P : S);
        EXPECT_EQ(Step(ctrlHeld, key, false), shift ? P : S);
        // A release passes while the system counts the key as down (after a
        // masking key for Win and Alt), and only then.
        EXPECT_EQ(Step(none, key, true, true), menuKeys.count(key) ? M : P);
        EXPECT_EQ(Step(none, key, true, false), S);
        // Nothing reaches another window in front, nor anything but a plain
        // action; what the program sent itself was decided already.
        for (bool up : {false, true}) {
            EXPECT_EQ(Step(none, key, up, true, false), S);
            EXPECT_EQ(Step(none, key, up, true, true, 3 /* HC_NOREMOVE */), S);
            EXPECT_EQ(Step(none, key, up, true, true, -1), S);
            EXPECT_EQ(Step(none, key, up, false, false, HC_ACTION, true), P);
        }
    }
}

// Events as written: a key and + for its press, - for a release the system
// counts as down, ~ for one it does not; AltGr is the Left Ctrl (scan code
// 0x21D) that Windows sends ahead of AltGr's Right Alt. The actions taken, from
// a fresh start: Swallow, Pass, Mask first, Chord.
std::string Filter(const char* events, DWORD* chordKey = nullptr) {
    static const std::map<std::string, DWORD> names = {
        {"AltGr", VK_LCONTROL}, {"Ctrl", VK_LCONTROL}, {"RCtrl", VK_RCONTROL}, {"Alt", VK_LMENU},
        {"RAlt", VK_RMENU},     {"Shift", VK_LSHIFT},  {"RShift", VK_RSHIFT},  {"Win", VK_LWIN},
        {"RWin", VK_RWIN},      {"Space", VK_SPACE},   {"Tab", VK_TAB},        {"Esc", VK_ESCAPE},
        {"F4", VK_F4}};
    WordFilterState state = {0, 0};
    std::string actions;
    std::istringstream in(events);
    for (std::string name; in >> name;) {
        const char sign = name.back();
        name.pop_back();
        const DWORD vk = name.size() == 1 ? (DWORD)name[0] : names.at(name);
        const WordFilterStep step =
            StepWordFilter(state, {HC_ACTION, vk, name == "AltGr" ? 0x21Du : 0u, sign != '+', true,
                                   sign == '-', false});
        state = step.next;
        actions += "SPMC"[(int)step.action];
        if (chordKey && step.action == KeyAction::PassChord)
            *chordKey = step.chordKey;
    }
    return actions;
}

// AltGr, the layout-switch chords and the ways out of the prompt.
TEST(UnlockWordFilter, TypesOnEveryLayoutAndHoldsBackTheWaysOut) {
    const struct {
        const char* name;
        const char* events;
        const char* actions;
    } rows[] = {
        {"AltGr+Q types @ on a German layout", "AltGr+ RAlt+ Q+ Q- AltGr- RAlt-", "PPPPPP"},
        {"a Ctrl held makes AltGr's keys shortcuts", "RCtrl+ AltGr+ RAlt+ Q+", "SSSS"},
        {"a plain Right Alt is Alt", "RAlt+ Q+", "SS"},
        {"AltGr's Right Alt left alone is Alt", "AltGr+ RAlt+ AltGr- Q+", "PPPS"},
        {"Left Alt+Shift, and no Alt+letter", "Alt+ Shift+ F+ Shift- Alt-", "SCSPP"},
        {"Shift+Left Alt, and no Shift+Alt+Tab", "RShift+ Alt+ Tab+", "PPS"},
        {"Left Alt alone opens no menu bar", "Alt+ Alt~", "SS"},
        {"Win+Space, again, and no Win+letter", "Win+ Space+ Space- Space+ R+ Win-", "SCPPSP"},
        {"Win alone opens no Start menu", "Win+ Win~", "SS"},
        {"Win+letter", "Win+ L+", "SS"},
        {"Alt+Tab, Alt+F4, Alt+Esc", "Alt+ Tab+ F4+ Esc+", "SSSS"},
        {"Ctrl+Esc, Ctrl+V", "Ctrl+ Esc+ V+", "SSS"},
        {"Tab held", "Tab+ A+ Tab~ A+", "SSSP"},
        {"held before the lock: Win and Alt after a mask", "Win- RAlt- Alt- Ctrl- K-", "MMMPP"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Filter(row.events), row.actions) << row.name;
    DWORD chordKey = 0;
    Filter("RWin+ Space+", &chordKey);
    EXPECT_EQ(chordKey, (DWORD)VK_RWIN);
    Filter("Alt+ RShift+", &chordKey);
    EXPECT_EQ(chordKey, (DWORD)VK_LMENU);
}

TEST(BlockAllKeys, SwallowsEveryEvent) {
    KBDLLHOOKSTRUCT key = {};
    for (DWORD vk = 0; vk < 256; vk++) {
        key.vkCode = vk;
        for (WPARAM message : {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP})
            for (int code : {HC_ACTION, 3, -1})
                EXPECT_EQ(BlockAllKeysProc(code, message, (LPARAM)&key), 1);
    }
}

struct PointCase {
    POINT point;
    bool letThrough;
    POINT cursor;
};

TEST(MouseConfine, HoldsThePointerInsideTheCornerRegion) {
    const POINT corners[] = {{1118, 718}, {1288, 868}, {868, 1288}, {200, 150}};
    for (POINT corner : corners) {
        const int L = corner.x - 120, T = corner.y - 120;
        const PointCase cases[] = {
            {{L, T}, true, {L, T}}, // the region's own corner
            {{L + 1, T + 1}, true, {L + 1, T + 1}},
            {{5000, 5000}, true, {5000, 5000}}, // no limit right or below
            {{L - 1, T - 1}, false, {L, T}},    // just outside both edges
            {{0, 0}, false, {L, T}},
            {{-300, -300}, false, {L, T}}, // a monitor left of and above
            {{L - 1, T}, false, {L, T}},   // only x offends
            {{L - 1, T + 200}, false, {L, T + 200}},
            {{0, 5000}, false, {L, 5000}},
            {{L, T - 1}, false, {L, T}}, // only y offends
            {{L + 300, T - 1}, false, {L + 300, T}},
            {{5000, 0}, false, {5000, T}},
        };
        for (const PointCase& c : cases) {
            SCOPED_TRACE(testing::Message() << "corner " << corner.x << "," << corner.y << " point "
                                            << c.point.x << "," << c.point.y);
            MouseDecision decision =
                DecideMouseEvent(c.point, WM_MOUSEMOVE, corner.x, corner.y, RECT{}, false);
            EXPECT_EQ(decision.letThrough, c.letThrough);
            if (!c.letThrough) {
                EXPECT_EQ(decision.cursor.x, c.cursor.x);
                EXPECT_EQ(decision.cursor.y, c.cursor.y);
            }
        }
    }
}

struct CornerCase {
    const char* name;
    POINT point;
    UINT message;
    bool trayKnown;
    bool overOwnWindow;
    bool letThrough;
};

TEST(MouseConfine, InsideTheCornerButtonsReachOnlyTheProgramsIconAndWindows) {
    // Region from (998, 598); the icon sits in the taskbar inside it.
    const int cornerX = 1118, cornerY = 718;
    const RECT icon = {1200, 770, 1224, 794};
    const CornerCase cases[] = {
        {"move over the clock", {1250, 780}, WM_MOUSEMOVE, true, false, true},
        {"press on the clock", {1250, 780}, WM_LBUTTONDOWN, true, false, false},
        {"release on the clock", {1250, 780}, WM_LBUTTONUP, true, false, false},
        {"right press on Show desktop", {1279, 790}, WM_RBUTTONDOWN, true, false, false},
        {"wheel over the volume", {1180, 780}, WM_MOUSEWHEEL, true, false, false},
        {"press on the icon", {1210, 780}, WM_LBUTTONDOWN, true, false, true},
        {"release on the icon", {1210, 780}, WM_LBUTTONUP, true, false, true},
        {"icon's top-left pixel", {1200, 770}, WM_LBUTTONDOWN, true, false, true},
        {"just past the icon", {1224, 794}, WM_LBUTTONDOWN, true, false, false},
        {"press on the program's menu", {1100, 700}, WM_LBUTTONUP, true, true, true},
        {"icon unknown: today's rule", {1250, 780}, WM_LBUTTONDOWN, false, false, true},
        {"outside the region, own window", {500, 300}, WM_LBUTTONDOWN, true, true, false},
    };
    for (const CornerCase& c : cases) {
        SCOPED_TRACE(c.name);
        const MouseDecision decision = DecideMouseEvent(
            c.point, c.message, cornerX, cornerY, c.trayKnown ? icon : RECT{}, c.overOwnWindow);
        EXPECT_EQ(decision.letThrough, c.letThrough);
        if (!decision.letThrough && c.point.x >= 998 && c.point.y >= 598) {
            // A swallowed button inside the region leaves the pointer where it is.
            EXPECT_EQ(decision.cursor.x, c.point.x);
            EXPECT_EQ(decision.cursor.y, c.point.y);
        }
    }
}

// Input is injected from a second thread while this thread, which owns the
// hooks, keeps pumping: low-level hooks run in the installing thread's loop.
void InjectFromAnotherThread(std::vector<INPUT> inputs) {
    std::atomic<bool> done{false};
    std::thread sender([&] {
        for (INPUT& input : inputs) {
            SendInput(1, &input, sizeof input);
            Sleep(5);
        }
        done = true;
    });
    WaitUntil([&] { return done.load(); }, 5000);
    sender.join();
    PumpMessagesFor(200);
}

INPUT Key(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

std::vector<DWORD> SeenKeys;
// Every event, down (+) or up (-), by its key code in hex: "5b+".
std::vector<std::string> SeenEvents;
LRESULT CALLBACK WatchKeysProc(int code, WPARAM wParam, LPARAM lParam) {
    const KBDLLHOOKSTRUCT* key = (KBDLLHOOKSTRUCT*)lParam;
    if (code == HC_ACTION && wParam == WM_KEYDOWN)
        SeenKeys.push_back(key->vkCode);
    if (code == HC_ACTION) {
        char event[16];
        wsprintfA(event, "%x%c", (unsigned)key->vkCode, (key->flags & LLKHF_UP) ? '-' : '+');
        SeenEvents.push_back(event);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Stands in for the unlock word prompt in front.
struct FrontPrompt {
    FrontPrompt() {
        window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "prompt", WS_POPUP | WS_VISIBLE, 0, 0,
                                 100, 50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(window);
        UnlockPrompt.Window = window;
        PumpMessagesFor(100);
    }
    ~FrontPrompt() {
        UnlockPrompt.Window = nullptr;
        DestroyWindow(window);
    }
    HWND window;
};

TEST(InstalledHooks, WordFilterPassesWordKeysToLaterHooks) {
    FrontPrompt prompt;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // Installed first, so it is called after the filter.
    HHOOK watcher = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeysProc, instance, 0);
    HHOOK filter = SetWindowsHookExA(WH_KEYBOARD_LL, UnlockWordKeyFilterProc, instance, 0);
    ASSERT_NE(watcher, nullptr);
    ASSERT_NE(filter, nullptr);
    SeenKeys.clear();
    std::vector<INPUT> inputs;
    for (WORD vk : {(WORD)'A', (WORD)VK_ESCAPE, (WORD)'7', (WORD)VK_TAB, (WORD)VK_SPACE,
                    (WORD)VK_F4, (WORD)VK_BACK, (WORD)VK_LEFT, (WORD)VK_NUMPAD3}) {
        inputs.push_back(Key(vk, false));
        inputs.push_back(Key(vk, true));
    }
    InjectFromAnotherThread(inputs);
    UnhookWindowsHookEx(filter);
    UnhookWindowsHookEx(watcher);
    EXPECT_EQ(SeenKeys, (std::vector<DWORD>{'A', '7', VK_SPACE, VK_BACK, VK_NUMPAD3}));
}

TEST(InstalledHooks, ModifierDownAsTheFilterGoesInDoesNotJamIt) {
    FrontPrompt prompt;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HHOOK watcher = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeysProc, instance, 0);
    InjectFromAnotherThread({Key(VK_CONTROL, false)}); // held before the lock
    ForgetHeldKeys();
    HHOOK filter = SetWindowsHookExA(WH_KEYBOARD_LL, UnlockWordKeyFilterProc, instance, 0);
    SeenKeys.clear();
    InjectFromAnotherThread({Key(VK_CONTROL, true), Key('A', false), Key('A', true),
                             Key(VK_MENU, false), Key('B', false), Key('B', true),
                             Key(VK_MENU, true), Key('C', false), Key('C', true)});
    UnhookWindowsHookEx(filter);
    UnhookWindowsHookEx(watcher);
    EXPECT_EQ(SeenKeys, (std::vector<DWORD>{'A', 'C'})); // B went with Alt held
}

TEST(InstalledHooks, BlockingHookStopsEveryKey) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HHOOK watcher = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeysProc, instance, 0);
    HHOOK blocker = SetWindowsHookExA(WH_KEYBOARD_LL, BlockAllKeysProc, instance, 0);
    SeenKeys.clear();
    InjectFromAnotherThread({Key('A', false), Key('A', true), Key(VK_LWIN, false),
                             Key(VK_LWIN, true), Key(VK_RETURN, false), Key(VK_RETURN, true)});
    UnhookWindowsHookEx(blocker);
    InjectFromAnotherThread({Key('B', false), Key('B', true)});
    UnhookWindowsHookEx(watcher);
    EXPECT_EQ(SeenKeys, (std::vector<DWORD>{'B'}));
}

INPUT MoveTo(int x, int y) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

TEST(InstalledHooks, MouseHookPutsThePointerBackAtTheRegionEdge) {
    const POINT saved = PointerRegion.Corner();
    PointerRegion.MoveCorner({1000, 700});
    HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, MouseConfineProc, GetModuleHandleA(nullptr), 0);
    ASSERT_NE(hook, nullptr);
    POINT where = {};
    InjectFromAnotherThread({MoveTo(950, 650)});
    InjectFromAnotherThread({MoveTo(0, 0)});
    GetCursorPos(&where);
    EXPECT_EQ(where.x, 880);
    EXPECT_EQ(where.y, 580);
    SetCursorPos(950, 650);
    InjectFromAnotherThread({MoveTo(10, 640)}); // straight left: only x is held
    GetCursorPos(&where);
    EXPECT_EQ(where.x, 880);
    EXPECT_EQ(where.y, 640);
    // The region follows the corner at once.
    PointerRegion.MoveCorner({1200, 700});
    InjectFromAnotherThread({MoveTo(0, 650)});
    GetCursorPos(&where);
    EXPECT_EQ(where.x, 1080);
    UnhookWindowsHookEx(hook);
    PointerRegion.MoveCorner(saved);
}

bool InstallFails = false;
std::vector<HHOOK> HeldAtInstall; // what the lock held when it asked for a new hook
const InstallHookFunction RealInstall = InstallHook;
HHOOK WINAPI TestInstall(int type, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
    HeldAtInstall.push_back(type == WH_KEYBOARD_LL ? Lock.KeyboardHook() : Lock.MouseHook());
    return InstallFails ? nullptr : RealInstall(type, procedure, module, thread);
}

// Windows drops a hook that once answered too slowly, without a word; while
// locked, the watchdog on timer 333 puts back each hook the lock holds.
class HookWatchdog : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        // Installed before the lock's hooks: it sees only what they let through.
        watcher = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeysProc, GetModuleHandleA(nullptr), 0);
        InstallHook = TestInstall;
        InstallFails = false;
        Settings.DisableKeyboard = Settings.DisableMouse = true;
    }
    void TearDown() override {
        InstallHook = RealInstall;
        UnhookWindowsHookEx(watcher);
        LockFixture::TearDown();
    }
    static bool KeyGetsThrough() {
        SeenKeys.clear();
        InjectFromAnotherThread({Key(VK_F24, false), Key(VK_F24, true)});
        return !SeenKeys.empty();
    }
    static void Tick() { GuardLock(MainWindow, WM_TIMER, LockTimerId, 0); }
    HHOOK watcher = nullptr;
};

TEST_F(HookWatchdog, DroppedHooksAreBackAfterOneTickWithNoGapAndNoSecondCopy) {
    ASSERT_TRUE(EngageAtOnce());
    const HHOOK keyboard = Lock.KeyboardHook(), mouse = Lock.MouseHook();
    ASSERT_TRUE(UnhookWindowsHookEx(keyboard) && UnhookWindowsHookEx(mouse)); // as Windows would
    ASSERT_TRUE(KeyGetsThrough());
    HeldAtInstall.clear();
    Tick();
    EXPECT_FALSE(KeyGetsThrough());
    // Each new hook was asked for while the old one was still held.
    EXPECT_EQ(HeldAtInstall, (std::vector<HHOOK>{keyboard, mouse}));
    const HHOOK keyboardNow = Lock.KeyboardHook(), mouseNow = Lock.MouseHook();
    Tick();
    EXPECT_TRUE(HookGone(keyboardNow) && HookGone(mouseNow));
    EXPECT_EQ(Lock.KeyboardHookProcedureInUse(), BlockAllKeysProc);
}

TEST_F(HookWatchdog, AHookThatFailedToGoInIsRetried) {
    InstallFails = true;
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_TRUE(KeyGetsThrough());
    InstallFails = false;
    Tick();
    EXPECT_NE(Lock.MouseHook(), nullptr);
    EXPECT_FALSE(KeyGetsThrough());
}

TEST_F(HookWatchdog, KeysAreSwallowedAgainWithinSecondsAlsoWithoutACover) {
    Settings.DisableMouse = false; // keyboard only: no shield, no cover
    ASSERT_TRUE(EngageAtOnce());
    const HHOOK dropped = Lock.KeyboardHook();
    ASSERT_TRUE(UnhookWindowsHookEx(dropped));
    // The watchdog ticks every 5 s; the bound is three times that.
    EXPECT_TRUE(WaitUntil([&] { return Lock.KeyboardHook() != dropped; }, 15000));
    EXPECT_FALSE(KeyGetsThrough());
}

// A key let go while the lock swallowed its release is still down for the
// system. Ctrl, Alt and Win are released as the prompt opens, so that they
// make no shortcuts of the word's letters, and every key at the unlock; Win's
// release comes after a masking key (0xE8), so no Start menu opens. (Wine
// lets go of keys itself as its windows take the focus: the hook tells.)
TEST_F(HookWatchdog, KeysLetGoUnderTheLockAreReleasedForThePromptAndAtTheUnlock) {
    InstallHook = RealInstall;
    Settings.DisableMouse = false;
    Settings.Password = "Pw9";
    for (bool prompt : {true, false}) {
        Settings.Prompt = prompt;
        InjectFromAnotherThread({Key(VK_LWIN, false), Key(VK_LCONTROL, false), Key('K', false)});
        ASSERT_TRUE(EngageAtOnce());
        InjectFromAnotherThread({Key(VK_LWIN, true), Key(VK_LCONTROL, true), Key('K', true)});
        ASSERT_TRUE((GetAsyncKeyState(VK_LWIN) & 0x8000) && (GetAsyncKeyState('K') & 0x8000));
        SeenEvents.clear();
        std::vector<std::string> seen;
        PromptScript script;
        script.typed = "Pw9";
        script.onOpen = [&](HWND) { seen = SeenEvents; };
        {
            PromptDriver driver(script);
            EXPECT_EQ(RequestUnlock(), UnlockResult::Released);
        }
        PumpMessagesFor(200);
        if (!prompt)
            seen = SeenEvents;
        const auto at = [&](const char* event) {
            return std::find(seen.begin(), seen.end(), event);
        };
        EXPECT_TRUE(at("e8+") < at("5b-") && at("5b-") != seen.end() && at("a2-") != seen.end())
            << prompt;
        EXPECT_EQ(at("4b-") != seen.end(), !prompt);
    }
}

} // namespace
