// Windows removes a low-level hook that once kept input waiting too long, and
// says nothing. While locked, the watchdog on timer 333 puts the hooks back.
#include "lock_fixture.h"
#include "lock/input_hooks.h"
#include <atomic>
#include <thread>
#include <vector>

namespace {

int KeysSeen = 0;
LRESULT CALLBACK CountKeysProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == WM_KEYDOWN)
        KeysSeen++;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HHOOK WINAPI FailToInstall(int, HOOKPROC, HINSTANCE, DWORD) {
    return nullptr;
}

// What the lock held at the moment it asked for a new hook.
std::vector<HHOOK> HeldAtInstall;
InstallHookFunction RealInstall = nullptr;
HHOOK WINAPI RecordingInstall(int type, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
    HeldAtInstall.push_back(type == WH_KEYBOARD_LL ? KeyboardHook : MouseHook);
    return RealInstall(type, procedure, module, thread);
}

class HookWatchdogTest : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        RealInstall = InstallHook;
        // Installed before the lock's hooks, so it is called after them and
        // counts only what they let through.
        watcher = SetWindowsHookExA(WH_KEYBOARD_LL, CountKeysProc, GetModuleHandleA(nullptr), 0);
        ASSERT_NE(watcher, nullptr);
        Settings.DisableKeyboard = true;
        Settings.DisableMouse = true;
    }
    void TearDown() override {
        InstallHook = RealInstall;
        UnhookWindowsHookEx(watcher);
        LockFixture::TearDown();
    }
    // A key typed from another thread while this one, which owns the hooks, pumps.
    static bool KeyGetsThrough() {
        const int before = KeysSeen;
        std::atomic<bool> sent(false);
        std::thread sender([&] {
            INPUT keys[2] = {};
            keys[0].type = keys[1].type = INPUT_KEYBOARD;
            keys[0].ki.wVk = keys[1].ki.wVk = VK_F24;
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, keys, sizeof(INPUT));
            sent = true;
        });
        WaitUntil([&] { return sent.load(); }, 5000);
        sender.join();
        PumpMessagesFor(150);
        return KeysSeen > before;
    }
    static void Tick() { GuardLock(MainWindow, WM_TIMER, LockTimerId, 0); }
    HHOOK watcher = nullptr;
};

struct HeldHook {
    const char* name;
    HHOOK* hook;
};
const HeldHook HeldHooks[] = {{"keyboard", &KeyboardHook}, {"mouse", &MouseHook}};

TEST_F(HookWatchdogTest, AHookRemovedBehindTheProgramsBackIsBackAfterOneTick) {
    ASSERT_TRUE(EngageAtOnce());
    ASSERT_FALSE(KeyGetsThrough());
    for (const HeldHook& held : HeldHooks) {
        SCOPED_TRACE(held.name);
        const HHOOK dropped = *held.hook;
        ASSERT_TRUE(UnhookWindowsHookEx(dropped)); // what Windows does after a time-out
        if (held.hook == &KeyboardHook) {
            EXPECT_TRUE(KeyGetsThrough());
        }
        Tick();
        EXPECT_NE(*held.hook, nullptr);
        EXPECT_NE(*held.hook, dropped);
        EXPECT_FALSE(KeyGetsThrough());
    }
    // Ticks without a loss keep one hook of each: every replaced one is gone.
    for (int i = 0; i < 3; i++) {
        const HHOOK keyboard = KeyboardHook, mouse = MouseHook;
        Tick();
        EXPECT_TRUE(HookGone(keyboard));
        EXPECT_TRUE(HookGone(mouse));
    }
    EXPECT_EQ(KeyboardHookProcedureInUse(), BlockAllKeysProc);
}

TEST_F(HookWatchdogTest, TheNewHookGoesInBeforeTheOldOneComesOut) {
    ASSERT_TRUE(EngageAtOnce());
    HeldAtInstall.clear();
    InstallHook = RecordingInstall;
    const HHOOK keyboard = KeyboardHook, mouse = MouseHook;
    Tick();
    EXPECT_EQ(HeldAtInstall, (std::vector<HHOOK>{keyboard, mouse}));
}

TEST_F(HookWatchdogTest, AHookThatFailedToGoInIsRetried) {
    InstallHook = FailToInstall;
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(KeyboardHook, nullptr);
    EXPECT_EQ(MouseHook, nullptr);
    EXPECT_TRUE(KeyGetsThrough());
    Tick(); // still failing: nothing changes, nothing breaks
    EXPECT_EQ(KeyboardHook, nullptr);
    InstallHook = RealInstall;
    Tick();
    EXPECT_NE(KeyboardHook, nullptr);
    EXPECT_NE(MouseHook, nullptr);
    EXPECT_FALSE(KeyGetsThrough());
    // A failure while a hook is held keeps the one that is there.
    const HHOOK keyboard = KeyboardHook;
    InstallHook = FailToInstall;
    Tick();
    EXPECT_EQ(KeyboardHook, keyboard);
    EXPECT_FALSE(KeyGetsThrough());
}

TEST_F(HookWatchdogTest, KeysAreSwallowedAgainWithinSecondsAlsoWithoutACover) {
    Settings.DisableMouse = false; // keyboard only: no touch shield, no cover
    ASSERT_TRUE(EngageAtOnce());
    const HHOOK dropped = KeyboardHook;
    ASSERT_TRUE(UnhookWindowsHookEx(dropped));
    const DWORD start = GetTickCount();
    // The watchdog ticks every 5 s; the bound is three times that.
    ASSERT_TRUE(WaitUntil([&] { return KeyboardHook != dropped; }, 15000));
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_FALSE(KeyGetsThrough());
}

} // namespace
