// The real program on a screen at 150 % (a session of its own, whose prefix
// has LogPixels 144): its own pictures drawn 1.5 times as large, the padlock
// tapped through the mouse lock, the mouse region keeping its reach after a
// display change, and the settings dialog showing every text whole.
#include "lock_driver.h"
#include "res/resource.h"
#include "settings/settings_store.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/screenshot.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>

namespace {

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Within 10 % of its size at 100 % scaled to the screen.
void ExpectScaled(HWND window, SIZE at100) {
    RECT area = {};
    GetWindowRect(window, &area);
    const int dpi = ScreenDpi();
    for (int axis = 0; axis < 2; axis++) {
        const int expected = MulDiv(axis ? at100.cy : at100.cx, dpi, 96);
        const int actual = axis ? area.bottom - area.top : area.right - area.left;
        EXPECT_LE(std::abs(actual - expected) * 10, expected) << actual << " for " << expected;
    }
}

class DisplayScale : public ProgramTest {
  protected:
    void SetUp() override {
        if (ScreenDpi() == 96)
            GTEST_SKIP() << "runs in the session at 150 %";
        ProgramTest::SetUp();
    }
    void TearDown() override {
        program.Kill();
        ProgramTest::TearDown();
    }
    // Starts the program with these settings changed from the first run's;
    // the splash must come at the scale.
    void Start(const std::vector<std::pair<std::string, std::string>>& settings) {
        WriteProductSettings(settings);
        ASSERT_TRUE(program.Start());
        HWND splash = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (splash = FindProcessWindow(program.ProcessId(), "SplashScreen")); },
            15000));
        ExpectScaled(splash, {531, 449});
        ASSERT_TRUE(program.WaitUntilReady());
    }
    HWND Padlock() { return FindProcessWindow(program.ProcessId(), "UnlockImage"); }
    // Moves the mouse to the screen's top-left; the mouse lock puts the pointer
    // back at its region's top-left.
    static POINT PushedBackFromTheTopLeft() {
        Inject({MouseInput(0, 0, 0)});
        POINT where = {};
        GetCursorPos(&where);
        return where;
    }
    MorrowbyProcess program;
};

TEST_F(DisplayScale, PadlockIsDrawnAtTheScaleStaysAndATapUnlocksThroughTheMouseLock) {
    Start({{"EnableLockAtStartup", "1"}, {"DisableMouse", "1"}, {"DisableKeyboard", "0"}});
    HWND padlock = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (padlock = Padlock()) != nullptr; }, 10000));
    ExpectScaled(padlock, {128, 128});
    RECT area = {};
    GetWindowRect(padlock, &area);
    PumpMessagesFor(500);
    // The screen's bottom-right corner, for people to see.
    RECT around = {area.left - 300, area.top - 160, GetSystemMetrics(SM_CXSCREEN),
                   GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(SaveScreenshot(ArtifactPath("screen-padlock-150.bmp"), &around));

    // Minimised by a system command or by another program, the cover is
    // back with its padlock within the watchdog's period.
    HWND cover = FindProcessWindow(program.ProcessId(), "Cover");
    SendMessageA(cover, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ShowWindow(cover, SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(cover) && IsWindowVisible(padlock); }, 7000));

    // The yellow body, low in the picture.
    const int x = area.left + (area.right - area.left) * 5 / 16;
    const int y = area.top + (area.bottom - area.top) * 25 / 32;
    Inject({MouseInput(x, y, 0), MouseInput(x, y, MOUSEEVENTF_LEFTDOWN),
            MouseInput(x, y, MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(WaitUntil([&] { return Padlock() == nullptr; }, 3000));
}

TEST_F(DisplayScale, MouseRegionKeepsItsReachAfterADisplayChange) {
    Start({{"EnableLockAtStartup", "1"},
           {"DisableMouse", "1"},
           {"DisableKeyboard", "0"},
           {"EnableTouchShield", "0"}});
    POINT before = {};
    ASSERT_TRUE(WaitUntil(
        [&] {
            before = PushedBackFromTheTopLeft();
            return before.x > 0 && before.y > 0;
        },
        10000))
        << "the mouse lock never engaged";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(program.Window(), WM_DISPLAYCHANGE, 32,
                        MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)),
                        SMTO_NORMAL, 5000, &result);
    const POINT after = PushedBackFromTheTopLeft();
    EXPECT_LE(after.x, before.x);
    EXPECT_LE(after.y, before.y);
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
}

BOOL CALLBACK AddControl(HWND control, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(control);
    return TRUE;
}

// Every button and static text of the dialog fits its control on one line,
// measured in the template's font ("MS Shell Dlg" at the given points) at the
// screen's scale; a check box's box and gap come before its text. Returns
// how many controls were measured.
int ExpectWholeTexts(HWND dialog, int points) {
    const int dpi = ScreenDpi();
    LOGFONTA description = {};
    description.lfHeight = -MulDiv(points, dpi, 72);
    lstrcpyA(description.lfFaceName, "MS Shell Dlg");
    HFONT font = CreateFontIndirectA(&description);
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    std::vector<HWND> controls;
    EnumChildWindows(dialog, AddControl, reinterpret_cast<LPARAM>(&controls));
    int measured = 0;
    for (HWND control : controls) {
        char text[128] = {}, className[32] = {};
        GetWindowTextA(control, text, sizeof text);
        GetClassNameA(control, className, sizeof className);
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        const bool button = lstrcmpiA(className, "Button") == 0;
        if (!text[0] || (!button && lstrcmpiA(className, "Static") != 0) ||
            (style & SS_TYPEMASK) == SS_BITMAP)
            continue;
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
        const UINT kind = style & BS_TYPEMASK;
        const bool box = button && (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX);
        RECT client = {};
        GetClientRect(control, &client);
        EXPECT_LE(extent.cx + (box ? MulDiv(16, dpi, 96) : 0), client.right) << text;
        EXPECT_LE(extent.cy, client.bottom + (kind == BS_GROUPBOX ? 0 : 2)) << text;
        measured++;
    }
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return measured;
}

HWND WaitForDialogWith(DWORD processId, int controlId) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            dialog = FindProcessWindow(processId, "#32770");
            return dialog && GetDlgItem(dialog, controlId);
        },
        10000);
    return dialog && GetDlgItem(dialog, controlId) ? dialog : nullptr;
}

// Modify Settings asks for the unlock word first: both dialogs are measured.
TEST_F(DisplayScale, UnlockPromptAndSettingsDialogShowTheWholeTextOfEveryControl) {
    Start({{"Prompt", "1"}, {"Password", ScrambleUnlockWord("tiger")}});
    program.PostCommand(IDM_SETTINGS);
    HWND prompt = WaitForDialogWith(program.ProcessId(), IDC_UNLOCK_WORD);
    ASSERT_NE(prompt, nullptr);
    EXPECT_GE(ExpectWholeTexts(prompt, 12), 2);
    SendMessageA(GetDlgItem(prompt, IDC_UNLOCK_WORD), WM_SETTEXT, 0, (LPARAM) "tiger");
    PostMessageA(prompt, WM_COMMAND, IDOK, 0);

    HWND dialog = WaitForDialogWith(program.ProcessId(), IDC_PROMPT);
    ASSERT_NE(dialog, nullptr);
    PumpMessagesFor(1500); // faded in
    RECT area = {};
    GetWindowRect(dialog, &area);
    EXPECT_TRUE(SaveScreenshot(ArtifactPath("screen-settings-150.bmp"), &area));
    EXPECT_GE(ExpectWholeTexts(dialog, 10), 12);
}

} // namespace
