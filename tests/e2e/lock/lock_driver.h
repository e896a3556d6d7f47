// Drives the real program from outside while it locks: input sent with
// SendInput, a low-level keyboard hook of this process that shows what got
// past the program's own hook, and the program's windows found by class.
#pragma once
#include "support/morrowby_process.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Keys that reached this process's hook. Low-level hooks run newest first, so
// a hook installed before the program locks sees only what the lock lets by.
inline std::vector<DWORD>& SeenKeys() {
    static std::vector<DWORD> keys;
    return keys;
}

inline LRESULT CALLBACK WatchKeysProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN))
        SeenKeys().push_back(reinterpret_cast<KBDLLHOOKSTRUCT*>(lParam)->vkCode);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

inline HHOOK InstallKeyWatcher() {
    return SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeysProc, GetModuleHandleA(nullptr), 0);
}

// Sends input from a second thread while this one, which owns the watcher
// hook, keeps pumping; then pumps a little longer for the last events.
inline void Inject(std::vector<INPUT> inputs) {
    std::atomic<bool> done{false};
    std::thread sender([&] {
        for (INPUT& input : inputs) {
            SendInput(1, &input, sizeof input);
            Sleep(15);
        }
        done = true;
    });
    WaitUntil([&] { return done.load(); }, 10000);
    sender.join();
    PumpMessagesFor(300);
}

inline INPUT KeyInput(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Presses and releases each key in turn.
inline std::vector<INPUT> Taps(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD vk : keys) {
        inputs.push_back(KeyInput(vk, false));
        inputs.push_back(KeyInput(vk, true));
    }
    return inputs;
}

inline INPUT MouseInput(int x, int y, DWORD buttonFlags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (x * 65536 + width - 1) / width;
    input.mi.dy = (y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
    return input;
}

inline bool KeySeen(DWORD vk) {
    for (DWORD key : SeenKeys())
        if (key == vk)
            return true;
    return false;
}

// A top-level window of the given class that belongs to the process.
inline HWND FindProcessWindow(DWORD processId, const char* className, const char* title = nullptr) {
    for (HWND window = FindWindowExA(nullptr, nullptr, className, title); window;
         window = FindWindowExA(nullptr, window, className, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return nullptr;
}

inline HWND FindUnlockPrompt(DWORD processId) {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && FindWindowExA(window, nullptr, "Static", "Enter the unlock word"))
            return window;
    }
    return nullptr;
}

inline HWND FindMismatchBox(DWORD processId) {
    return FindProcessWindow(processId, "#32770", "Unlock Word Check");
}

// Texts of the balloons and tooltips the shell shows now, trimmed of blanks.
inline void CollectTrayTexts(std::set<std::string>* texts) {
    for (HWND window = FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr); window;
         window = FindWindowExA(nullptr, window, "tooltips_class32", nullptr)) {
        char text[300] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 200,
                            &length);
        std::string value(text);
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of(' ') + 1);
        if (!value.empty())
            texts->insert(value);
    }
}

// One program serves a suite's tests one after another, since each start
// sleeps through the nine-second splash sequence, under a key watcher
// installed before it. Every test begins with the program in the suite's
// starting state: a test that leaves it so hands it on; after one that failed
// or left it otherwise, the next test starts a new one.
// Suite provides: static void StartProgram(MorrowbyProcess&), which brings a
// new program to the starting state, and static bool InStartingState().
template <class Suite> class SharedProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { watcher = InstallKeyWatcher(); }
    static void TearDownTestSuite() {
        delete program;
        program = nullptr;
        UnhookWindowsHookEx(watcher);
        ClearProgramTraces();
    }
    void SetUp() override {
        if (!program || !program->Running() || !reusable) {
            delete program;
            ClearProgramTraces();
            program = new MorrowbyProcess;
            Suite::StartProgram(*program);
        }
        reusable = false;
    }
    void TearDown() override { reusable = !HasFailure() && Suite::InStartingState(); }

    static inline MorrowbyProcess* program = nullptr;
    static inline HHOOK watcher = nullptr;
    static inline bool reusable = false;
};
