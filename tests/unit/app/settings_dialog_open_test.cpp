// Opening the dialog: the controls show the record, odd stored values are
// shown sensibly, and only one dialog is ever open.
#include "dialog_fixture.h"
#include "app/main_window.h"
#include "res/resource.h"
#include "win/string_table.h"
#include "app/settings_dialog.h"
#include "app/settings_dialog.h"
#include "settings/settings_store.h"
#include <commctrl.h>
#include <vector>

namespace {

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    int count = (int)SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        wchar_t text[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

BOOL CALLBACK CountSettingsDialogs(HWND window, LPARAM count) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && GetDlgItem(window, IDC_PROMPT))
        ++*(int*)count;
    return TRUE;
}

int SettingsDialogsOfThisThread() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountSettingsDialogs, (LPARAM)&count);
    return count;
}

// What the modal run saw, filled in from a timer inside the dialog's loop.
struct ModalRunState {
    int Phase = 0;
    int Ticks = 0;
    HWND Dialog = nullptr;
    bool OwnerDisabled = false;
    bool SecondCallReturned = false;
    int DialogsAfterSecondCall = 0;
    HWND ForegroundAfterSecondCall = nullptr;
    HWND Other = nullptr;
} Modal;

void CALLBACK DriveModalDialog(HWND, UINT, UINT_PTR, DWORD) {
    Modal.Ticks++;
    if (Modal.Phase == 0 && SettingsDialog.Window) {
        Modal.Phase = 1;
        Modal.Dialog = SettingsDialog.Window;
        Modal.OwnerDisabled = !IsWindowEnabled(MainWindow);
        // Something else in front, then the second request.
        SetForegroundWindow(Modal.Other);
        OpenSettingsDialog(MainWindow);
        Modal.SecondCallReturned = true;
        Modal.DialogsAfterSecondCall = SettingsDialogsOfThisThread();
        Modal.ForegroundAfterSecondCall = GetForegroundWindow();
        Modal.Phase = 2;
        PostMessageA(Modal.Dialog, WM_COMMAND, IDCANCEL, 0);
    } else if (Modal.Phase == 1) {
        // The second call opened a dialog of its own and is stuck in it.
        HWND stray = SettingsDialog.Window;
        if (stray && stray != Modal.Dialog)
            PostMessageA(stray, WM_COMMAND, IDCANCEL, 0);
    } else if (Modal.Ticks > 150 && SettingsDialog.Window) {
        PostMessageA(SettingsDialog.Window, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

TEST_F(SettingsDialogTest, OpenSettingsDialogRunsOneModalDialogAndOnlyRaisesItWhenOpen) {
    Modal = ModalRunState();
    Modal.Other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 10, 10, 100, 50,
                                  nullptr, nullptr, nullptr, nullptr);
    UINT_PTR timer = SetTimer(nullptr, 0, 40, DriveModalDialog);
    OpenSettingsDialog(MainWindow);
    KillTimer(nullptr, timer);
    DestroyWindow(Modal.Other);

    ASSERT_NE(Modal.Dialog, nullptr) << "the dialog never opened";
    EXPECT_TRUE(Modal.OwnerDisabled);
    EXPECT_TRUE(Modal.SecondCallReturned);
    EXPECT_EQ(Modal.DialogsAfterSecondCall, 1);
    EXPECT_EQ(Modal.ForegroundAfterSecondCall, Modal.Dialog);
    EXPECT_EQ(SettingsDialog.Window, nullptr);
    EXPECT_FALSE(IsWindow(Modal.Dialog));
    EXPECT_TRUE(IsWindowEnabled(MainWindow));
}

TEST_F(SettingsDialogTest, FirstRunShowsTheBuiltInDefaults) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(SettingsDialog.Window, dialog);

    const struct {
        int Id;
        bool Ticked;
    } boxes[] = {{IDC_LOCK_AT_STARTUP, false}, {IDC_TOUCH_SHIELD, true},
                 {IDC_BLUE_LIGHT, false},      {IDC_DISABLE_MOUSE, false},
                 {IDC_DISABLE_KEYBOARD, true}, {IDC_YOUTUBE_COUNT, false},
                 {IDC_PROMPT, false}};
    for (const auto& box : boxes)
        EXPECT_EQ(Ticked(box.Id), box.Ticked) << "check box " << box.Id;

    EXPECT_EQ(ComboItems(Item(IDC_YOUTUBE_MAX)),
              (std::vector<std::wstring>{L"1", L"2", L"3", L"4", L"5"}));
    EXPECT_EQ(Selection(IDC_YOUTUBE_MAX), 0);
    EXPECT_EQ(ComboItems(Item(IDC_BLUE_MODE)),
              (std::vector<std::wstring>{L"Always", L"Menu", L"w/ Shield"}));
    EXPECT_EQ(Selection(IDC_BLUE_MODE), 0);
    EXPECT_EQ(Settings.BlueMenu, 1) << "no mode is shown as Always and becomes Always";

    EXPECT_EQ(SendMessageA(Item(IDC_GREEN_GAMMA), TBM_GETRANGEMIN, 0, 0), -128);
    EXPECT_EQ(SendMessageA(Item(IDC_GREEN_GAMMA), TBM_GETRANGEMAX, 0, 0), 128);
    EXPECT_EQ(SliderPosition(), 0);

    const struct {
        int Id;
        bool Enabled;
    } controls[] = {{IDOK, true},
                    {IDCANCEL, true},
                    {IDC_LOCK_AT_STARTUP, true},
                    {IDC_PROMPT, true},
                    {IDC_BLUE_LIGHT, true},
                    {IDC_YOUTUBE_COUNT, true},
                    {IDC_YOUTUBE_MAX, false},
                    {IDC_PASSWORD, false},
                    {IDC_PASSWORD_AGAIN, false},
                    {IDC_REVEAL_EYE, false},
                    {IDC_BLUE_MODE, false},
                    {IDC_GREEN_GAMMA, false},
                    {IDC_LESS_LABEL, false},
                    {IDC_MORE_LABEL, false}};
    for (const auto& control : controls)
        EXPECT_EQ(Enabled(control.Id), control.Enabled) << "control " << control.Id;
    EXPECT_TRUE(WrittenGammaRamps().empty()) << "opening alone writes no ramp";

    // The empty word field says that the word typed anywhere unlocks, whole
    // within the field.
    wchar_t hint[100] = L"";
    SendMessageW(Item(IDC_PASSWORD), EM_GETCUEBANNER, (WPARAM)hint, 100);
    EXPECT_EQ(std::wstring(hint), LoadText(IDS_UNLOCK_WORD_HINT));
    HDC dc = GetDC(Item(IDC_PASSWORD));
    SelectObject(dc, (HFONT)SendMessageW(Item(IDC_PASSWORD), WM_GETFONT, 0, 0));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, hint, (int)wcslen(hint), &extent);
    ReleaseDC(Item(IDC_PASSWORD), dc);
    RECT field = {};
    SendMessageW(Item(IDC_PASSWORD), EM_GETRECT, 0, (LPARAM)&field);
    EXPECT_LE(extent.cx, field.right - field.left);
}

TEST_F(SettingsDialogTest, EveryFlagFlippedIsShownFlipped) {
    Settings.EnableLockAtStartup = true;
    Settings.EnableTouchShield = false;
    Settings.EnableBlueLightReduction = true;
    Settings.EnableYouTubeCount = true;
    Settings.DisableKeyboard = false;
    Settings.DisableMouse = true;
    Settings.Prompt = true;
    Settings.Password = "owl";
    Settings.YouTubeMax = 4;
    Settings.BlueMenu = 2;
    Settings.GreenGamma = 77;
    ASSERT_NE(Open(), nullptr);

    EXPECT_TRUE(Ticked(IDC_LOCK_AT_STARTUP));
    EXPECT_FALSE(Ticked(IDC_TOUCH_SHIELD));
    EXPECT_TRUE(Ticked(IDC_BLUE_LIGHT));
    EXPECT_TRUE(Ticked(IDC_YOUTUBE_COUNT));
    EXPECT_FALSE(Ticked(IDC_DISABLE_KEYBOARD));
    EXPECT_TRUE(Ticked(IDC_DISABLE_MOUSE));
    EXPECT_TRUE(Ticked(IDC_PROMPT));
    for (int id : {IDC_PASSWORD, IDC_PASSWORD_AGAIN}) {
        char text[32] = {};
        GetDlgItemTextA(dialog, id, text, sizeof text);
        EXPECT_STREQ(text, "owl");
    }
    EXPECT_EQ(Selection(IDC_YOUTUBE_MAX), 3);
    EXPECT_EQ(Selection(IDC_BLUE_MODE), 1);
    EXPECT_EQ(SliderPosition(), 77);
    for (int id : {IDC_YOUTUBE_MAX, IDC_PASSWORD, IDC_PASSWORD_AGAIN, IDC_REVEAL_EYE, IDC_BLUE_MODE,
                   IDC_GREEN_GAMMA, IDC_LESS_LABEL, IDC_MORE_LABEL})
        EXPECT_TRUE(Enabled(id)) << "control " << id;
}

struct StoredValueCase {
    const char* Name;
    int YouTubeMax, BlueMenu, GreenGamma;
    int ShownVideos, ShownMode, ShownSlider; // -1: no selection
    int RecordVideos, RecordMode;
};

class StoredValueTest : public SettingsDialogTest,
                        public ::testing::WithParamInterface<StoredValueCase> {};

TEST_P(StoredValueTest, IsShownAndClampedAsExpected) {
    const StoredValueCase& c = GetParam();
    Settings.YouTubeMax = c.YouTubeMax;
    Settings.BlueMenu = c.BlueMenu;
    Settings.GreenGamma = c.GreenGamma;
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Selection(IDC_YOUTUBE_MAX), c.ShownVideos);
    EXPECT_EQ(Selection(IDC_BLUE_MODE), c.ShownMode);
    EXPECT_EQ(SliderPosition(), c.ShownSlider);
    EXPECT_EQ(Settings.YouTubeMax, c.RecordVideos);
    EXPECT_EQ(Settings.BlueMenu, c.RecordMode);
    EXPECT_EQ(Settings.GreenGamma, c.GreenGamma) << "the stored level is never clamped";
}

INSTANTIATE_TEST_SUITE_P(Odd, StoredValueTest,
                         ::testing::Values(StoredValueCase{"NineVideos", 9, 1, 0, -1, 0, 0, 9, 1},
                                           StoredValueCase{"NoVideos", 0, 1, 0, 0, 0, 0, 1, 1},
                                           StoredValueCase{"FiveVideos", 5, 1, 0, 4, 0, 0, 5, 1},
                                           StoredValueCase{"NoMode", 1, 0, 0, 0, 0, 0, 1, 1},
                                           StoredValueCase{"NegativeMode", 1, -3, 0, 0, 0, 0, 1, 1},
                                           StoredValueCase{"ShieldMode", 1, 3, 0, 0, 2, 0, 1, 3},
                                           StoredValueCase{"ModeFour", 1, 4, 0, 0, -1, 0, 1, 4},
                                           StoredValueCase{"LessEnd", 1, 1, -100, 0, 0, -100, 1, 1},
                                           StoredValueCase{"BeyondMore", 1, 1, 300, 0, 0, 128, 1,
                                                           1}),
                         CaseName<StoredValueCase>);
