// What the dialog's controls do while it is open: check boxes that exclude or
// enable others, the live blue light preview, the restart message, re-centring.
#include "dialog_fixture.h"
#include "features/blue_light.h"
#include "res/resource.h"
#include "settings/settings_store.h"
#include <commctrl.h>
#include <vector>

struct ExclusionCase {
    const char* Name;
    bool Shield, Mouse; // as stored
    int Click;
    bool ShieldAfter, MouseAfter;
};

class ExclusionTest : public SettingsDialogTest,
                      public ::testing::WithParamInterface<ExclusionCase> {};

TEST_P(ExclusionTest, ShieldAndMouseLockExcludeEachOther) {
    const ExclusionCase& c = GetParam();
    Settings.EnableTouchShield = c.Shield;
    Settings.DisableMouse = c.Mouse;
    ASSERT_NE(Open(), nullptr);
    Click(c.Click);
    EXPECT_EQ(Ticked(IDC_TOUCH_SHIELD), c.ShieldAfter);
    EXPECT_EQ(Ticked(IDC_DISABLE_MOUSE), c.MouseAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, ExclusionTest,
    ::testing::Values(
        ExclusionCase{"MouseTakesOverShield", true, false, IDC_DISABLE_MOUSE, false, true},
        ExclusionCase{"ShieldTakesOverMouse", false, true, IDC_TOUCH_SHIELD, true, false},
        ExclusionCase{"ShieldOff", true, false, IDC_TOUCH_SHIELD, false, false},
        ExclusionCase{"MouseOff", false, true, IDC_DISABLE_MOUSE, false, false},
        ExclusionCase{"ShieldOnAlone", false, false, IDC_TOUCH_SHIELD, true, false},
        ExclusionCase{"MouseOnAlone", false, false, IDC_DISABLE_MOUSE, false, true},
        // A record with both set is shown with both ticked.
        ExclusionCase{"BothUntickShield", true, true, IDC_TOUCH_SHIELD, false, true},
        ExclusionCase{"BothUntickMouse", true, true, IDC_DISABLE_MOUSE, true, false}),
    CaseName<ExclusionCase>);

TEST_F(SettingsDialogTest, CheckBoxesEnableTheControlsTheyGovern) {
    const struct {
        int Box;
        std::vector<int> Governed;
    } cases[] = {{IDC_YOUTUBE_COUNT, {IDC_YOUTUBE_MAX}},
                 {IDC_PROMPT, {IDC_PASSWORD, IDC_PASSWORD_AGAIN, IDC_REVEAL_EYE}}};
    ASSERT_NE(Open(), nullptr);
    for (const auto& c : cases) {
        for (bool ticked : {true, false}) {
            Click(c.Box);
            ASSERT_EQ(Ticked(c.Box), ticked);
            for (int id : c.Governed)
                EXPECT_EQ(Enabled(id), ticked) << "box " << c.Box << " control " << id;
        }
    }
}

TEST_F(SettingsDialogTest, UntickingBlueLightRestoresTheScreenAndDisablesItsControls) {
    Settings.EnableBlueLightReduction = true;
    Settings.BlueMenu = 1;
    Settings.GreenGamma = 40;
    ASSERT_NE(Open(), nullptr);
    BlueLightApplied = true;
    Click(IDC_BLUE_LIGHT);
    EXPECT_FALSE(Ticked(IDC_BLUE_LIGHT));
    EXPECT_FALSE(BlueLightApplied);
    for (int id : {IDC_BLUE_MODE, IDC_GREEN_GAMMA, IDC_LESS_LABEL, IDC_MORE_LABEL})
        EXPECT_FALSE(Enabled(id)) << "control " << id;
}

TEST_F(SettingsDialogTest, UntickingBlueLightWritesTheSavedRamp) {
    Settings.EnableBlueLightReduction = true;
    ASSERT_NE(Open(), nullptr);
    ApplyBlueLight(Settings.GreenGamma); // as the fade-in leaves the screen
    Click(IDC_BLUE_LIGHT);
    EXPECT_TRUE(LastRampIs(LinearGammaRamp()));
}

// A fresh system has no gamma range setting, so ticking the box asks for a
// restart instead of tinting the screen.
TEST_F(SettingsDialogTest, TickingBlueLightWithoutTheRangeSettingAsksForARestart) {
    ASSERT_NE(Open(), nullptr);
    SeenMessageBox box = AnswerMessageBox("Computer Restart", [&] { Click(IDC_BLUE_LIGHT); });
    ASSERT_TRUE(box.Seen);
    EXPECT_EQ(box.Text, "A computer restart is needed before using Blue Light Reduction");
    EXPECT_EQ(box.Owner, dialog);
    EXPECT_FALSE(Ticked(IDC_BLUE_LIGHT));
    for (int id : {IDC_BLUE_MODE, IDC_GREEN_GAMMA, IDC_LESS_LABEL, IDC_MORE_LABEL})
        EXPECT_FALSE(Enabled(id)) << "control " << id;
    EXPECT_FALSE(BlueLightApplied);
    EXPECT_TRUE(WrittenGammaRamps().empty());
}

TEST_F(SettingsDialogTest, OnlyTheAlwaysModePreviewsWhenChosen) {
    Settings.EnableBlueLightReduction = true;
    Settings.BlueMenu = 2;
    ASSERT_NE(Open(), nullptr);
    SetSlider(50);
    const struct {
        int Index;
        bool Applies;
    } cases[] = {{1, false}, {2, false}, {0, true}};
    for (const auto& c : cases) {
        BlueLightApplied = false;
        SendMessageA(Item(IDC_BLUE_MODE), CB_SETCURSEL, c.Index, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BLUE_MODE, CBN_SELCHANGE),
                     (LPARAM)Item(IDC_BLUE_MODE));
        EXPECT_EQ(BlueLightApplied, c.Applies) << "mode index " << c.Index;
    }
}

TEST_F(SettingsDialogTest, ChoosingAlwaysWritesTheSliderLevel) {
    Settings.EnableBlueLightReduction = true;
    Settings.BlueMenu = 2;
    ASSERT_NE(Open(), nullptr);
    SetSlider(50);
    SendMessageA(Item(IDC_BLUE_MODE), CB_SETCURSEL, 0, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BLUE_MODE, CBN_SELCHANGE),
                 (LPARAM)Item(IDC_BLUE_MODE));
    EXPECT_TRUE(LastRampIs(ReducedGammaRamp(50)));
}

TEST_F(SettingsDialogTest, MovingTheSliderPreviewsForEveryScrollCodeButTheLastThree) {
    Settings.EnableBlueLightReduction = true;
    Settings.BlueMenu = 3; // previewed in every mode
    ASSERT_NE(Open(), nullptr);
    SetSlider(-60);
    const struct {
        WORD Code;
        bool Applies;
    } cases[] = {{TB_LINEUP, true},   {TB_LINEDOWN, true},      {TB_PAGEUP, true},
                 {TB_PAGEDOWN, true}, {TB_THUMBPOSITION, true}, {TB_THUMBTRACK, true},
                 {TB_TOP, false},     {TB_BOTTOM, false},       {TB_ENDTRACK, false}};
    for (const auto& c : cases) {
        BlueLightApplied = false;
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(c.Code, 0), (LPARAM)Item(IDC_GREEN_GAMMA));
        EXPECT_EQ(BlueLightApplied, c.Applies) << "scroll code " << c.Code;
    }
}

TEST_F(SettingsDialogTest, MovingTheSliderWritesItsLevel) {
    Settings.EnableBlueLightReduction = true;
    ASSERT_NE(Open(), nullptr);
    for (int level : {-128, -60, 0, 90, 128}) {
        SetSlider(level);
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0),
                     (LPARAM)Item(IDC_GREEN_GAMMA));
        EXPECT_TRUE(LastRampIs(ReducedGammaRamp(level))) << "level " << level;
    }
}

TEST_F(SettingsDialogTest, DisplayChangeCentresTheDialogAgain) {
    ASSERT_NE(Open(), nullptr);
    RECT before;
    GetWindowRect(dialog, &before);
    SetWindowPos(dialog, nullptr, 3, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(dialog, WM_DISPLAYCHANGE, 32,
                 MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    RECT after;
    GetWindowRect(dialog, &after);
    int width = before.right - before.left, height = before.bottom - before.top;
    EXPECT_EQ(after.right - after.left, width);
    EXPECT_EQ(after.bottom - after.top, height);
    EXPECT_EQ(after.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(after.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}
