// The accessibility shortcuts are off while the keyboard is locked, and every
// way out puts back exactly what the user had. Wine does not store these
// settings, so a fake system keeps them.
#include "lock_fixture.h"
#include "features/blue_light.h"
#include "lock/accessibility_shortcuts.h"
#include <cstring>

namespace {

struct AccessibilitySettings {
    STICKYKEYS sticky;
    FILTERKEYS filter;
    TOGGLEKEYS toggle;
};

// Windows' defaults: each feature off, its hotkey and confirmation on.
AccessibilitySettings Defaults() {
    AccessibilitySettings s = {};
    s.sticky = {sizeof(STICKYKEYS), 0x1FE};
    s.filter = {sizeof(FILTERKEYS), 0x7E, 1000, 500, 500, 0};
    s.toggle = {sizeof(TOGGLEKEYS), 0x3E};
    return s;
}

AccessibilitySettings System;
int Calls = 0;

template <typename Setting> BOOL Exchange(bool set, Setting* stored, PVOID data, UINT size) {
    if (size != sizeof(Setting))
        return FALSE;
    if (set)
        memcpy(stored, data, sizeof(Setting));
    else
        memcpy(data, stored, sizeof(Setting));
    return TRUE;
}

BOOL WINAPI FakeParameters(UINT action, UINT size, PVOID data, UINT) {
    Calls++;
    switch (action) {
    case SPI_GETSTICKYKEYS:
    case SPI_SETSTICKYKEYS:
        return Exchange(action == SPI_SETSTICKYKEYS, &System.sticky, data, size);
    case SPI_GETFILTERKEYS:
    case SPI_SETFILTERKEYS:
        return Exchange(action == SPI_SETFILTERKEYS, &System.filter, data, size);
    case SPI_GETTOGGLEKEYS:
    case SPI_SETTOGGLEKEYS:
        return Exchange(action == SPI_SETTOGGLEKEYS, &System.toggle, data, size);
    }
    return FALSE;
}

bool Same(const AccessibilitySettings& a, const AccessibilitySettings& b) {
    return memcmp(&a, &b, sizeof a) == 0;
}

class ShortcutsTest : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        System = Defaults();
        Calls = 0;
        AccessibilityParameters = FakeParameters;
        Settings.DisableKeyboard = true;
    }
    void TearDown() override {
        LockFixture::TearDown();
        RestoreAccessibilityShortcuts();
        AccessibilityParameters = real;
    }
    const SystemParametersFunction real = AccessibilityParameters;
};

TEST_F(ShortcutsTest, KeyboardLockClearsOnlyTheHotkeysAndUnlockPutsBackTheUsersValues) {
    ASSERT_TRUE(EngageAtOnce());
    AccessibilitySettings expected = Defaults();
    expected.sticky.dwFlags &= ~(SKF_HOTKEYACTIVE | SKF_CONFIRMHOTKEY);
    expected.filter.dwFlags &= ~(FKF_HOTKEYACTIVE | FKF_CONFIRMHOTKEY);
    expected.toggle.dwFlags &= ~(TKF_HOTKEYACTIVE | TKF_CONFIRMHOTKEY);
    EXPECT_TRUE(Same(System, expected));
    // A second engagement without a release must not keep the cleared values.
    EngageLock(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_TRUE(Same(System, expected));
    RequestUnlock();
    EXPECT_TRUE(Same(System, Defaults()));
}

TEST_F(ShortcutsTest, AFeatureThatIsOnIsLeftAlone) {
    System.sticky.dwFlags |= SKF_STICKYKEYSON;
    System.toggle.dwFlags |= TKF_TOGGLEKEYSON;
    const AccessibilitySettings before = System;
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(System.sticky.dwFlags, before.sticky.dwFlags);
    EXPECT_EQ(System.toggle.dwFlags, before.toggle.dwFlags);
    EXPECT_EQ(System.filter.dwFlags,
              before.filter.dwFlags & ~(FKF_HOTKEYACTIVE | FKF_CONFIRMHOTKEY));
    RequestUnlock();
    EXPECT_TRUE(Same(System, before));
}

TEST_F(ShortcutsTest, ALockWithoutTheKeyboardDoesNotTouchThem) {
    Settings.DisableKeyboard = false;
    Settings.DisableMouse = true;
    Settings.EnableTouchShield = true;
    ASSERT_TRUE(EngageAtOnce());
    RequestUnlock();
    EXPECT_EQ(Calls, 0);
}

void Crash() {
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = 0xE0424C55;
    CONTEXT context = {};
    EXCEPTION_POINTERS pointers = {&record, &context};
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = PreviousCrashFilter;
    PreviousCrashFilter = nullptr;
    RestoreGammaOnCrash(&pointers);
    PreviousCrashFilter = previous;
}

struct WayOut {
    const char* name;
    void (*take)();
    bool restores;
};

TEST_F(ShortcutsTest, EveryWayOutPutsThemBack) {
    const WayOut ways[] = {
        {"session goes on", [] { SendMessageA(MainWindow, WM_ENDSESSION, FALSE, 0); }, false},
        {"end of session", [] { SendMessageA(MainWindow, WM_ENDSESSION, TRUE, 0); }, true},
        {"crash", Crash, true},
        {"Exit", [] { SendMessageA(MainWindow, WM_COMMAND, IDM_EXIT, 0); }, true},
    };
    for (const WayOut& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_NE(MainWindow, nullptr);
        ASSERT_TRUE(EngageAtOnce());
        way.take();
        EXPECT_EQ(Same(System, Defaults()), way.restores);
        // A release after a restore writes nothing more.
        const int calls = Calls;
        if (MainWindow)
            RequestUnlock();
        EXPECT_TRUE(Same(System, Defaults()));
        if (way.restores) {
            EXPECT_EQ(Calls, calls);
        }
    }
    EXPECT_EQ(MainWindow, nullptr);
}

} // namespace
