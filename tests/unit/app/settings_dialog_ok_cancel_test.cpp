// Leaving the dialog: OK takes the controls into the record, saves it and sets
// the screen for the chosen mode; Cancel puts the screen back as stored and
// saves nothing; mismatched unlock words keep the dialog open.
#include "dialog_fixture.h"
#include "features/blue_light.h"
#include "res/resource.h"
#include "app/settings_dialog.h"
#include "settings/settings_store.h"
#include <commctrl.h>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

std::string Describe(const SettingsRecord& r) {
    char text[512];
    snprintf(text, sizeof text,
             "LockAtStartup=%d TouchShield=%d BlueLight=%d GreenGamma=%d Password='%s' "
             "YouTubeCount=%d DisableKeyboard=%d DisableMouse=%d Prompt=%d YouTubeMax=%d "
             "BlueMenu=%d",
             r.EnableLockAtStartup, r.EnableTouchShield, r.EnableBlueLightReduction, r.GreenGamma,
             r.Password.c_str(), r.EnableYouTubeCount, r.DisableKeyboard, r.DisableMouse, r.Prompt,
             r.YouTubeMax, r.BlueMenu);
    return text;
}

const char* const ValueNames[] = {
    "EnableLockAtStartup", "EnableTouchShield", "EnableBlueLightReduction",
    "GreenGamma",          "Password",          "EnableYouTubeCount",
    "DisableKeyboard",     "DisableMouse",      "Prompt",
    "YouTubeMax",          "BlueMenu"};

std::vector<std::pair<std::string, std::string>> StoredValues() {
    std::vector<std::pair<std::string, std::string>> values;
    for (const char* name : ValueNames) {
        std::string data = "<missing>";
        ReadTestSetting(name, &data);
        values.emplace_back(name, data);
    }
    return values;
}

std::string Stored(const char* name) {
    std::string data = "<missing>";
    ReadTestSetting(name, &data);
    return data;
}

} // namespace

// ---- OK: the blue light mode decides the stored level and the screen ----

struct OkModeCase {
    const char* Name;
    bool BlueLight;
    int ModeIndex;
    int Slider;
    int StoredLevel; // the record's level when the dialog opened
    int LevelAfter;
    bool Tinted; // the reduction is on the screen after OK
};

class OkModeTest : public SettingsDialogTest, public ::testing::WithParamInterface<OkModeCase> {
  protected:
    void PressOk() {
        const OkModeCase& c = GetParam();
        Settings.EnableBlueLightReduction = c.BlueLight;
        Settings.GreenGamma = c.StoredLevel;
        ASSERT_NE(Open(), nullptr);
        SendMessageA(Item(IDC_BLUE_MODE), CB_SETCURSEL, c.ModeIndex, 0);
        SetSlider(c.Slider);
        // The screen as the other state leaves it, so that OK has to change it.
        if (c.Tinted)
            RestoreGamma();
        else
            ApplyBlueLight(c.StoredLevel);
        WrittenGammaRamps().clear();
        Command(IDOK);
    }
};

TEST_P(OkModeTest, RecordTakesModeAndLevel) {
    const OkModeCase& c = GetParam();
    PressOk();
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog ended";
    EXPECT_EQ(SettingsDialog.Window, nullptr);
    EXPECT_EQ(Settings.EnableBlueLightReduction, c.BlueLight);
    EXPECT_EQ(Settings.BlueMenu, c.ModeIndex + 1);
    EXPECT_EQ(Settings.GreenGamma, c.LevelAfter);
    EXPECT_EQ(BlueLightApplied, c.Tinted);
}

TEST_P(OkModeTest, ScreenShowsTheChosenMode) {
    const OkModeCase& c = GetParam();
    PressOk();
    EXPECT_TRUE(LastRampIs(c.Tinted ? ReducedGammaRamp(c.LevelAfter) : LinearGammaRamp()));
}

TEST_P(OkModeTest, RegistryHoldsModeAndLevel) {
    const OkModeCase& c = GetParam();
    PressOk();
    EXPECT_EQ(Stored("EnableBlueLightReduction"), c.BlueLight ? "1" : "0");
    EXPECT_EQ(Stored("BlueMenu"), std::to_string(c.ModeIndex + 1));
    EXPECT_EQ(Stored("GreenGamma"), std::to_string(c.LevelAfter));
}

INSTANTIATE_TEST_SUITE_P(Modes, OkModeTest,
                         ::testing::Values(OkModeCase{"Always", true, 0, 60, 10, 60, true},
                                           OkModeCase{"Menu", true, 1, -70, 10, -70, false},
                                           // The level set here is the one a shielded lock applies.
                                           OkModeCase{"WithShield", true, 2, 60, 10, 60, false},
                                           OkModeCase{"OffAlways", false, 0, 60, 10, 10, false},
                                           OkModeCase{"OffMenu", false, 1, 60, -5, -5, false}),
                         CaseName<OkModeCase>);

// ---- OK: every other control ----

class OkTest : public SettingsDialogTest {
  protected:
    // Every control away from the first-run state.
    void ChangeEverything() {
        Click(IDC_LOCK_AT_STARTUP);
        Click(IDC_DISABLE_MOUSE); // unticks the shield as well
        Click(IDC_DISABLE_KEYBOARD);
        Click(IDC_YOUTUBE_COUNT);
        SendMessageA(Item(IDC_YOUTUBE_MAX), CB_SETCURSEL, 2, 0);
        Click(IDC_PROMPT);
        SetText(IDC_PASSWORD, "tiger");
        SetText(IDC_PASSWORD_AGAIN, "tiger");
    }
};

TEST_F(OkTest, RecordTakesEveryControl) {
    ASSERT_NE(Open(), nullptr);
    ChangeEverything();
    Command(IDOK);
    SettingsRecord expected;
    expected.EnableLockAtStartup = true;
    expected.EnableTouchShield = false;
    expected.DisableMouse = true;
    expected.DisableKeyboard = false;
    expected.EnableYouTubeCount = true;
    expected.YouTubeMax = 3;
    expected.Prompt = true;
    expected.Password = "tiger";
    expected.BlueMenu = 1;
    EXPECT_EQ(Describe(Settings), Describe(expected));
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(OkTest, RegistryHoldsEveryControl) {
    ASSERT_NE(Open(), nullptr);
    ChangeEverything();
    Command(IDOK);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"EnableLockAtStartup", "1"},
        {"EnableTouchShield", "0"},
        {"EnableBlueLightReduction", "0"},
        {"GreenGamma", "0"},
        {"Password", ScrambleUnlockWord("tiger")},
        {"EnableYouTubeCount", "1"},
        {"DisableKeyboard", "0"},
        {"DisableMouse", "1"},
        {"Prompt", "1"},
        {"YouTubeMax", "3"},
        {"BlueMenu", "1"}};
    EXPECT_EQ(StoredValues(), expected);
}

TEST_F(OkTest, NineVideosWithoutChoosingStoresZeroAndReopensAsOne) {
    Settings.YouTubeMax = 9;
    ASSERT_NE(Open(), nullptr);
    Command(IDOK);
    EXPECT_EQ(Settings.YouTubeMax, 0);
    EXPECT_EQ(Stored("YouTubeMax"), "0");
    Close();
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Selection(IDC_YOUTUBE_MAX), 0);
    EXPECT_EQ(Settings.YouTubeMax, 1);
}

// ---- OK: the two unlock words ----

struct WordCase {
    const char* Name;
    bool Prompt;
    const char* Word;
    const char* Again;
    bool Accepted;
    const char* Kept; // the unlock word stored when accepted
};

class UnlockWordTest : public SettingsDialogTest, public ::testing::WithParamInterface<WordCase> {
  protected:
    SeenMessageBox PressOk() {
        const WordCase& c = GetParam();
        Settings.Prompt = c.Prompt;
        Settings.Password = "";
        if (!Open())
            return SeenMessageBox();
        SetText(IDC_PASSWORD, c.Word);
        SetText(IDC_PASSWORD_AGAIN, c.Again);
        return AnswerMessageBox("Unlock Word Check", [&] { Command(IDOK); });
    }
};

TEST_P(UnlockWordTest, IsAcceptedOrRefusedWithAMessage) {
    const WordCase& c = GetParam();
    SeenMessageBox box = PressOk();
    ASSERT_NE(dialog, nullptr);
    if (c.Accepted) {
        EXPECT_FALSE(box.Seen);
        EXPECT_FALSE(IsWindowVisible(dialog));
        EXPECT_EQ(Settings.Prompt, c.Prompt);
        EXPECT_EQ(Settings.Password, c.Kept);
        return;
    }
    ASSERT_TRUE(box.Seen);
    EXPECT_EQ(box.Text, "The two unlock words do not match");
    EXPECT_EQ(box.Owner, dialog);
    // The dialog stays, with the prompt unticked and the fields as they were.
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(SettingsDialog.Window, dialog);
    EXPECT_FALSE(Ticked(IDC_PROMPT));
    for (int id : {IDC_PASSWORD, IDC_PASSWORD_AGAIN, IDC_REVEAL_EYE})
        EXPECT_TRUE(Enabled(id)) << "control " << id;
    EXPECT_TRUE(Settings.Prompt) << "nothing taken into the record yet";

    // A second OK saves without a word.
    box = AnswerMessageBox("Unlock Word Check", [&] { Command(IDOK); });
    EXPECT_FALSE(box.Seen);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_FALSE(Settings.Prompt);
    EXPECT_EQ(Settings.Password, "");
}

TEST_P(UnlockWordTest, RegistryHoldsTheScrambledWord) {
    const WordCase& c = GetParam();
    SeenMessageBox box = PressOk();
    if (box.Seen)
        AnswerMessageBox("Unlock Word Check", [&] { Command(IDOK); });
    bool prompt = c.Accepted && c.Prompt;
    EXPECT_EQ(Stored("Prompt"), prompt ? "1" : "0");
    EXPECT_EQ(Stored("Password"), ScrambleUnlockWord(c.Accepted ? c.Kept : ""));
}

INSTANTIATE_TEST_SUITE_P(
    Words, UnlockWordTest,
    ::testing::Values(WordCase{"Same", true, "tiger", "tiger", true, "tiger"},
                      WordCase{"CaseDiffers", true, "tiger", "Tiger", false, ""},
                      WordCase{"OneLonger", true, "tiger", "tigers", false, ""},
                      WordCase{"OneEmpty", true, "tiger", "", false, ""},
                      WordCase{"BothEmpty", true, "", "", true, ""},
                      WordCase{"SameFirstFourteen", true, "abcdefghijklmnopqrst",
                               "abcdefghijklmnXYZXYZ", true, "abcdefghijklmn"},
                      WordCase{"DifferAtFourteenth", true, "abcdefghijklmnop", "abcdefghijklmXop",
                               false, ""},
                      WordCase{"PromptOff", false, "tiger", "lion", true, ""}),
    CaseName<WordCase>);

// ---- Cancel ----

struct CancelCase {
    const char* Name;
    bool BlueLight;
    int Mode;
    int Level;
    bool Tinted; // the stored level is put back on the screen
};

class CancelTest : public SettingsDialogTest, public ::testing::WithParamInterface<CancelCase> {
  protected:
    void ChangeAndCancel() {
        const CancelCase& c = GetParam();
        Settings.EnableBlueLightReduction = c.BlueLight;
        Settings.BlueMenu = c.Mode;
        Settings.GreenGamma = c.Level;
        ASSERT_NE(Open(), nullptr);
        loaded = Settings;
        stored = StoredValues();
        // Preview another level and change what can be changed.
        SetSlider(100);
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0),
                     (LPARAM)Item(IDC_GREEN_GAMMA));
        SendMessageA(Item(IDC_BLUE_MODE), CB_SETCURSEL, c.Mode == 1 ? 1 : 0, 0);
        Click(IDC_LOCK_AT_STARTUP);
        Click(IDC_PROMPT);
        SetText(IDC_PASSWORD, "tiger");
        SetText(IDC_PASSWORD_AGAIN, "tiger");
        WrittenGammaRamps().clear();
        BlueLightApplied = !c.Tinted;
        Command(IDCANCEL);
    }
    SettingsRecord loaded;
    std::vector<std::pair<std::string, std::string>> stored;
};

TEST_P(CancelTest, KeepsTheRecordAndPutsTheStoredStateBack) {
    const CancelCase& c = GetParam();
    ChangeAndCancel();
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(SettingsDialog.Window, nullptr);
    EXPECT_EQ(Describe(Settings), Describe(loaded));
    EXPECT_EQ(BlueLightApplied, c.Tinted);
    EXPECT_EQ(StoredValues(), stored) << "Cancel saves nothing";
}

TEST_P(CancelTest, ScreenShowsTheStoredState) {
    const CancelCase& c = GetParam();
    ChangeAndCancel();
    EXPECT_TRUE(LastRampIs(c.Tinted ? ReducedGammaRamp(c.Level) : LinearGammaRamp()));
}

INSTANTIATE_TEST_SUITE_P(Stored, CancelTest,
                         ::testing::Values(CancelCase{"AlwaysOn", true, 1, 30, true},
                                           CancelCase{"MenuOn", true, 2, 30, false},
                                           CancelCase{"WithShieldOn", true, 3, 30, false},
                                           CancelCase{"AlwaysOff", false, 1, 30, false}),
                         CaseName<CancelCase>);
