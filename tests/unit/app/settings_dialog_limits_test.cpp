// The dialog's viewing-time choices: shown from the Limits key, stored there
// at OK (both values, as decimal text), never at Cancel, and never in the
// settings key, which keeps its eleven values.
#include "dialog_fixture.h"
#include "res/resource.h"
#include "support/in_process_app.h"
#include "support/product_settings.h"

namespace {

const int NoSelection = -1;

std::string StoredLimit(const char* name) {
    char text[32] = {};
    DWORD size = sizeof text, type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, TestLimitsKeyPath, name, RRF_RT_ANY, &type, text, &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    return type == REG_SZ ? text : "<not text>";
}

void StoreLimit(const char* name, const char* text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, TestLimitsKeyPath, name, REG_SZ, text,
                    (DWORD)strlen(text) + 1);
}

struct LimitChoiceCase {
    const char* Name;
    const char* StoredViewing; // nullptr: not stored
    const char* StoredFinish;
    int ShownViewing, ShownFinish;   // the selections when the dialog opens
    int ChosenViewing, ChosenFinish; // NoSelection: left as shown
    bool FinishEnabled;              // after the choice
    const char* SavedViewing;
    const char* SavedFinish;
};

class LimitChoiceTest : public SettingsDialogTest,
                        public ::testing::WithParamInterface<LimitChoiceCase> {
  protected:
    void Choose(int id, int index) {
        if (index == NoSelection)
            return;
        SendMessageW(Item(id), CB_SETCURSEL, index, 0);
        Command(id);
    }
};

TEST_P(LimitChoiceTest, ShownAndStoredAtOk) {
    const LimitChoiceCase& c = GetParam();
    if (c.StoredViewing)
        StoreLimit("ViewingMinutes", c.StoredViewing);
    if (c.StoredFinish)
        StoreLimit("FinishVideoMinutes", c.StoredFinish);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Selection(IDC_VIEWING_MINUTES), c.ShownViewing);
    EXPECT_EQ(Selection(IDC_FINISH_VIDEO), c.ShownFinish);
    Choose(IDC_VIEWING_MINUTES, c.ChosenViewing);
    Choose(IDC_FINISH_VIDEO, c.ChosenFinish);
    EXPECT_EQ(Enabled(IDC_FINISH_VIDEO), c.FinishEnabled);

    Command(IDOK);
    EXPECT_EQ(StoredLimit("ViewingMinutes"), c.SavedViewing);
    EXPECT_EQ(StoredLimit("FinishVideoMinutes"), c.SavedFinish);
    EXPECT_EQ(ValueNamesUnder(TestLimitsKeyPath).size(), 2u);
    std::string settingsKey = TestSettingsKeyPath;
    settingsKey.pop_back();
    EXPECT_EQ(ValueNamesUnder(settingsKey.c_str()).size(), 11u);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, LimitChoiceTest,
    ::testing::Values(
        // The lists: no limit, 5 10 15 20 30 45 60 90 120; at once, 2 5 10 15.
        LimitChoiceCase{"FirstRun", nullptr, nullptr, 0, 3, NoSelection, NoSelection, false, "0",
                        "10"},
        LimitChoiceCase{"HalfAnHourThenAtOnce", nullptr, nullptr, 0, 3, 5, 0, true, "30", "0"},
        LimitChoiceCase{"LongestAndShortest", "15", "5", 3, 2, 9, 1, true, "120", "2"},
        LimitChoiceCase{"LimitTakenAway", "45", "15", 6, 4, 0, NoSelection, false, "0", "15"},
        // Minutes written by hand that the lists do not offer stay as they are.
        LimitChoiceCase{"HandWrittenMinutesKept", "1", "1", NoSelection, NoSelection, NoSelection,
                        NoSelection, true, "1", "1"}),
    CaseName<LimitChoiceCase>);

TEST_F(SettingsDialogTest, CancelStoresNoLimit) {
    ASSERT_NE(Open(), nullptr);
    SendMessageW(Item(IDC_VIEWING_MINUTES), CB_SETCURSEL, 5, 0);
    Command(IDCANCEL);
    EXPECT_EQ(StoredLimit("ViewingMinutes"), "<missing>");
}

} // namespace
