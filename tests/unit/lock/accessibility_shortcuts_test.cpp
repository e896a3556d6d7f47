// The accessibility shortcuts are off while the keyboard is locked, and every
// way out puts back exactly what the user had. Wine does not store these
// settings, so a fake system keeps them.
#include "support/lock_fixture.h"
#include "app/crash_filter.h"
#include "lock/accessibility_shortcuts.h"
#include <cstddef>
#include <cstring>

namespace {

struct Shortcuts {
    STICKYKEYS sticky;
    FILTERKEYS filter;
    TOGGLEKEYS toggle;
    MOUSEKEYS mouse;
    HIGHCONTRASTA contrast;
};
char UsersScheme[] = "High Contrast Black";
// Windows' defaults, with Toggle Keys switched on by the user.
const Shortcuts Users = {{sizeof(STICKYKEYS), 0x1FE},
                         {sizeof(FILTERKEYS), 0x7E, 1000, 500, 500, 0},
                         {sizeof(TOGGLEKEYS), 0x3E | TKF_TOGGLEKEYSON},
                         {sizeof(MOUSEKEYS), 0x3E, 10, 3000, 20, 0, 0},
                         {sizeof(HIGHCONTRASTA), 0x7E, UsersScheme}};
Shortcuts System;
int Calls = 0;

BOOL WINAPI FakeParameters(UINT action, UINT size, PVOID data, UINT) {
    const struct {
        UINT get, set;
        void* stored;
    } settings[] = {{SPI_GETSTICKYKEYS, SPI_SETSTICKYKEYS, &System.sticky},
                    {SPI_GETFILTERKEYS, SPI_SETFILTERKEYS, &System.filter},
                    {SPI_GETTOGGLEKEYS, SPI_SETTOGGLEKEYS, &System.toggle},
                    {SPI_GETMOUSEKEYS, SPI_SETMOUSEKEYS, &System.mouse},
                    {SPI_GETHIGHCONTRAST, SPI_SETHIGHCONTRAST, &System.contrast}};
    Calls++;
    for (const auto& setting : settings) {
        if (action == setting.get || action == setting.set)
            memcpy(action == setting.get ? data : setting.stored,
                   action == setting.get ? setting.stored : data, size);
    }
    // The system hands the scheme name out in memory of its own, reused by
    // the next read.
    static char handedOut[MAX_PATH];
    if (action == SPI_GETHIGHCONTRAST) {
        HIGHCONTRASTA* contrast = static_cast<HIGHCONTRASTA*>(data);
        lstrcpynA(handedOut, contrast->lpszDefaultScheme, sizeof handedOut);
        contrast->lpszDefaultScheme = handedOut;
    }
    return TRUE;
}

// The scheme by its name, wherever it is kept.
bool SameAsUsers() {
    return memcmp(&System, &Users, offsetof(Shortcuts, contrast)) == 0 &&
           System.contrast.dwFlags == Users.contrast.dwFlags &&
           strcmp(System.contrast.lpszDefaultScheme, UsersScheme) == 0;
}

void Crash() {
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = 0xE0424C55; // a software exception nobody handles
    CONTEXT context = {};
    EXCEPTION_POINTERS pointers = {&record, &context};
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = PreviousCrashFilter;
    PreviousCrashFilter = nullptr;
    RestoreGammaOnCrash(&pointers);
    PreviousCrashFilter = previous;
}

class ShortcutsTest : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        System = Users;
        Calls = 0;
        AccessibilityParameters = FakeParameters;
        Settings.DisableKeyboard = true;
    }
    void TearDown() override {
        LockFixture::TearDown();
        AccessibilityParameters = real;
    }
    const SystemParametersFunction real = AccessibilityParameters;
};

TEST_F(ShortcutsTest, KeyboardLockClearsTheHotkeysOfFeaturesThatAreOff) {
    ASSERT_TRUE(EngageAtOnce());
    EngageLock(MainWindow, WM_TIMER, LockTimerId, 0); // again, without a release
    EXPECT_EQ(System.sticky.dwFlags,
              Users.sticky.dwFlags & ~(SKF_HOTKEYACTIVE | SKF_CONFIRMHOTKEY));
    EXPECT_EQ(System.filter.dwFlags,
              Users.filter.dwFlags & ~(FKF_HOTKEYACTIVE | FKF_CONFIRMHOTKEY));
    EXPECT_EQ(System.toggle.dwFlags, Users.toggle.dwFlags); // in use: left alone
    EXPECT_EQ(System.mouse.dwFlags, Users.mouse.dwFlags & ~(MKF_HOTKEYACTIVE | MKF_CONFIRMHOTKEY));
    EXPECT_EQ(System.contrast.dwFlags,
              Users.contrast.dwFlags & ~(HCF_HOTKEYACTIVE | HCF_CONFIRMHOTKEY));
    strcpy(System.contrast.lpszDefaultScheme, "reused"); // another read meanwhile
    RequestUnlock();
    EXPECT_TRUE(SameAsUsers());
    // A lock without the keyboard does not touch them.
    Settings.DisableKeyboard = false;
    Settings.DisableMouse = true;
    Calls = 0;
    ASSERT_TRUE(EngageAtOnce());
    RequestUnlock();
    EXPECT_EQ(Calls, 0);
}

TEST_F(ShortcutsTest, EveryWayOutPutsThemBack) {
    const struct {
        const char* name;
        void (*take)();
        bool restores;
    } ways[] = {
        {"session goes on", [] { SendMessageA(MainWindow, WM_ENDSESSION, FALSE, 0); }, false},
        {"end of session", [] { SendMessageA(MainWindow, WM_ENDSESSION, TRUE, 0); }, true},
        {"crash", Crash, true},
        {"Exit", [] { SendMessageA(MainWindow, WM_COMMAND, IDM_EXIT, 0); }, true},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(EngageAtOnce());
        way.take();
        EXPECT_EQ(SameAsUsers(), way.restores);
        if (MainWindow)
            RequestUnlock();
    }
    EXPECT_EQ(MainWindow.Get(), nullptr);
}

} // namespace
