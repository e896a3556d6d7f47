// The eye that shows the unlock words while pressed, and the fade-in.
#include "dialog_fixture.h"
#include "features/blue_light.h"
#include "res/resource.h"
#include "res/timer_ids.h"
#include "app/settings_dialog.h"
#include "settings/settings_store.h"
#include "support/wait.h"
#include "support/high_contrast_answers.h"
#include "win/accessibility.h"
#include <cstdlib>

namespace {

const int BlackCircle = 0x25CF;
const int LeaveAsItIs = -1;

int MaskOf(HWND dialog, int id) {
    return (int)SendDlgItemMessageW(dialog, id, EM_GETPASSWORDCHAR, 0, 0);
}

} // namespace

struct RevealCase {
    const char* Name;
    bool Prompt;
    int MaskBefore;  // LeaveAsItIs: the field's own masking character
    bool ShowsPlain; // while pressed
    int MaskAfter;   // LeaveAsItIs: as before
};

class RevealTest : public SettingsDialogTest, public ::testing::WithParamInterface<RevealCase> {};

TEST_P(RevealTest, PressingTheEyeShowsTheWordsUntilReleased) {
    const RevealCase& c = GetParam();
    Settings.Prompt = c.Prompt;
    Settings.Password = "tiger";
    ASSERT_NE(Open(), nullptr);
    if (c.MaskBefore != LeaveAsItIs)
        for (int id : {IDC_PASSWORD, IDC_PASSWORD_AGAIN})
            SendDlgItemMessageW(dialog, id, EM_SETPASSWORDCHAR, c.MaskBefore, 0);
    int before = MaskOf(dialog, IDC_PASSWORD);

    HWND eye = Item(IDC_REVEAL_EYE);
    SendMessageA(eye, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    for (int id : {IDC_PASSWORD, IDC_PASSWORD_AGAIN})
        EXPECT_EQ(MaskOf(dialog, id), c.ShowsPlain ? 0 : before) << "pressed, field " << id;
    SendMessageA(eye, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    int after = c.MaskAfter == LeaveAsItIs ? before : c.MaskAfter;
    for (int id : {IDC_PASSWORD, IDC_PASSWORD_AGAIN})
        EXPECT_EQ(MaskOf(dialog, id), after) << "released, field " << id;
}

INSTANTIATE_TEST_SUITE_P(
    Eye, RevealTest,
    ::testing::Values(RevealCase{"OwnMask", true, LeaveAsItIs, true, LeaveAsItIs},
                      RevealCase{"Star", true, '*', true, '*'},
                      RevealCase{"Circle", true, BlackCircle, true, BlackCircle},
                      RevealCase{"NoMaskGetsCircle", true, 0, true, BlackCircle},
                      RevealCase{"PromptOff", false, LeaveAsItIs, false, LeaveAsItIs},
                      RevealCase{"PromptOffStar", false, '*', false, '*'}),
    CaseName<RevealCase>);

TEST_F(SettingsDialogTest, FieldWithoutMaskGetsTheLastMaskSeen) {
    Settings.Prompt = true;
    ASSERT_NE(Open(), nullptr);
    HWND eye = Item(IDC_REVEAL_EYE);
    SendDlgItemMessageW(dialog, IDC_PASSWORD, EM_SETPASSWORDCHAR, '#', 0);
    SendMessageA(eye, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(eye, WM_LBUTTONUP, 0, 0);
    SendDlgItemMessageW(dialog, IDC_PASSWORD, EM_SETPASSWORDCHAR, 0, 0);
    SendMessageA(eye, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(eye, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(MaskOf(dialog, IDC_PASSWORD), '#');
    EXPECT_EQ(MaskOf(dialog, IDC_PASSWORD_AGAIN), '#');
}

struct HoverCase {
    const char* Name;
    POINT Moves[2]; // in the eye's client coordinates; the second may be absent
    int MoveCount;
    WPARAM Buttons;
    bool Captured;
};

class HoverTest : public SettingsDialogTest, public ::testing::WithParamInterface<HoverCase> {};

TEST_P(HoverTest, IsTrackedByTheMouseCapture) {
    const HoverCase& c = GetParam();
    Settings.Prompt = true;
    ASSERT_NE(Open(), nullptr);
    HWND eye = Item(IDC_REVEAL_EYE);
    for (int i = 0; i < c.MoveCount; i++)
        SendMessageA(eye, WM_MOUSEMOVE, c.Buttons, MAKELPARAM(c.Moves[i].x, c.Moves[i].y));
    EXPECT_EQ(GetCapture() == eye, c.Captured);
}

INSTANTIATE_TEST_SUITE_P(
    Pointer, HoverTest,
    ::testing::Values(HoverCase{"Enters", {{2, 2}, {0, 0}}, 1, 0, true},
                      HoverCase{"StaysInside", {{2, 2}, {3, 3}}, 2, 0, true},
                      HoverCase{"Leaves", {{2, 2}, {-40, -40}}, 2, 0, false},
                      HoverCase{"LeavesFarRight", {{2, 2}, {400, 3}}, 2, 0, false},
                      // The release must come back to the eye to mask the words.
                      HoverCase{"LeavesPressed", {{2, 2}, {-40, -40}}, 2, MK_LBUTTON, true}),
    CaseName<HoverCase>);

TEST_F(SettingsDialogTest, EyeGivesBackItsProcedureWhenDestroyed) {
    ASSERT_NE(Open(), nullptr);
    HWND eye = Item(IDC_REVEAL_EYE);
    LONG_PTR original = (LONG_PTR)GetPropA(eye, OriginalProcProperty);
    ASSERT_NE(original, 0);
    EXPECT_EQ(GetWindowLongPtrW(eye, GWLP_WNDPROC), (LONG_PTR)RevealIconProc);
    EXPECT_NE(GetWindowLongA(eye, GWL_STYLE) & SS_NOTIFY, 0);
    SendMessageA(eye, WM_DESTROY, 0, 0);
    EXPECT_EQ(GetWindowLongPtrW(eye, GWLP_WNDPROC), original);
    EXPECT_EQ(GetPropA(eye, OriginalProcProperty), nullptr);
}

// A bitmap does not scale with the dialog: the eye is drawn anew for each
// scale the dialog moves to.
TEST_F(SettingsDialogTest, EyeFollowsTheDialogsScale) {
    ASSERT_NE(Open(), nullptr);
    HWND eye = Item(IDC_REVEAL_EYE);
    for (int dpi : {192, 144, 96}) {
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
        const HBITMAP shown = (HBITMAP)SendMessageW(eye, STM_GETIMAGE, IMAGE_BITMAP, 0);
        BITMAP picture = {};
        ASSERT_TRUE(GetObjectW(shown, sizeof picture, &picture)) << dpi;
        EXPECT_EQ(picture.bmWidth, 16 * dpi / 96) << dpi;
        EXPECT_EQ(std::abs(picture.bmHeight), MulDiv(13, dpi, 96)) << dpi;
    }
}

// ---- fade-in ----

namespace {

struct Layering {
    COLORREF Key = 0;
    BYTE Alpha = 0;
    DWORD Flags = 0;
};

Layering LayeringOf(HWND window) {
    Layering l;
    GetLayeredWindowAttributes(window, &l.Key, &l.Alpha, &l.Flags);
    return l;
}

} // namespace

TEST_F(SettingsDialogTest, OpensFullyTransparentWithTheGreenKey) {
    ASSERT_NE(Open(true), nullptr);
    LONG exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    EXPECT_NE(exStyle & WS_EX_LAYERED, 0);
    EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0);
    Layering l = LayeringOf(dialog);
    EXPECT_EQ(l.Alpha, 0);
    EXPECT_EQ(l.Key, RGB(0, 255, 0));
    EXPECT_EQ(l.Flags, (DWORD)(LWA_COLORKEY | LWA_ALPHA));
}

TEST_F(SettingsDialogTest, FadeInTakesNineStepsAndTintsOnlyAtTheEnd) {
    const BYTE steps[] = {51, 76, 102, 127, 153, 178, 204, 229, 255};
    for (bool blueLight : {false, true}) {
        Settings = SettingsRecord();
        Settings.EnableBlueLightReduction = blueLight;
        Settings.BlueMenu = 2; // tinted at the end whatever the mode
        Settings.GreenGamma = 45;
        ASSERT_NE(Open(), nullptr); // timer stopped: the ticks come from here
        BlueLightApplied = false;
        WrittenGammaRamps().clear();
        for (size_t i = 0; i < sizeof steps; i++) {
            FadeInTimerProc(dialog, WM_TIMER, FadeInTimerId, GetTickCount());
            Layering l = LayeringOf(dialog);
            EXPECT_EQ(l.Alpha, steps[i]) << "step " << i;
            EXPECT_EQ(l.Key, RGB(0, 255, 0));
            bool last = i + 1 == sizeof steps;
            EXPECT_EQ(BlueLightApplied, blueLight && last) << "step " << i;
        }
        EXPECT_EQ(SettingsDialog.FadeStep, 20);
        if (blueLight) {
            EXPECT_TRUE(LastRampIs(ReducedGammaRamp(45)));
        }
        Close();
    }
}

TEST_F(SettingsDialogTest, FadeInTimerReachesOpaqueAndStops) {
    ASSERT_NE(Open(true), nullptr);
    DWORD start = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return LayeringOf(dialog).Alpha == 255; }, 5000));
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 500u) << "nine ticks of 80 ms";
    PumpMessagesFor(300);
    EXPECT_EQ(LayeringOf(dialog).Alpha, 255) << "the timer stopped at the end";
    EXPECT_EQ(SettingsDialog.FadeStep, 20);
}

// A high-contrast theme may write in pure green: the fade keeps its key only
// without one, and follows the theme when it changes while the dialog is open.
TEST_F(SettingsDialogTest, FadesWithoutTheGreenKeyUnderHighContrast) {
    const HighContrastAnswer restored(Accessibility.HighContrastOn);
    const struct {
        HighContrastQuery atOpen, later;
        DWORD flagsAtOpen, flagsLater;
    } rows[] = {
        {HighContrastTheme, NoHighContrastTheme, LWA_ALPHA, LWA_COLORKEY | LWA_ALPHA},
        {NoHighContrastTheme, HighContrastTheme, LWA_COLORKEY | LWA_ALPHA, LWA_ALPHA},
    };
    for (const auto& row : rows) {
        Accessibility.HighContrastOn = row.atOpen;
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(LayeringOf(dialog).Flags, row.flagsAtOpen);
        FadeInTimerProc(dialog, WM_TIMER, FadeInTimerId, GetTickCount());
        EXPECT_EQ(LayeringOf(dialog).Flags, row.flagsAtOpen);
        Accessibility.HighContrastOn = row.later;
        SendMessageW(dialog, WM_SYSCOLORCHANGE, 0, 0);
        EXPECT_EQ(LayeringOf(dialog).Flags, row.flagsLater);
        EXPECT_EQ(LayeringOf(dialog).Alpha, 51) << "the fade goes on from where it was";
        Close();
    }
}
