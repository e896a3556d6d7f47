// When the tint goes on or off and what the tray item shows, for every event
// that touches either, odd cases included.
#include "features/blue_light_policy.h"
#include <gtest/gtest.h>
#include <ostream>

namespace {

typedef BlueLightEvent E;
const RampAction Keep = RampAction::Keep, Apply = RampAction::Apply, Restore = RampAction::Restore;
const BlueLightItem Unchanged = BlueLightItem::Unchanged, Enable = BlueLightItem::Enable,
                    Disable = BlueLightItem::Disable, Grayed = BlueLightItem::Grayed;

struct PolicyRow {
    const char* name;
    BlueLightEvent event;
    bool reduction;
    int mode;
    bool tintApplied;
    bool itemReadsDisable;
    RampAction ramp;
    BlueLightItem item;
    bool reapplyLater = false;
};

void PrintTo(const PolicyRow& row, std::ostream* out) {
    *out << row.name;
}

class BlueLightPolicy : public ::testing::TestWithParam<PolicyRow> {};

TEST_P(BlueLightPolicy, Decides) {
    const PolicyRow& row = GetParam();
    SettingsRecord settings;
    settings.EnableBlueLightReduction = row.reduction;
    settings.BlueMenu = row.mode;
    const BlueLightDecision decision =
        DecideBlueLight(row.event, settings, row.tintApplied, row.itemReadsDisable);
    EXPECT_EQ(row.ramp, decision.Ramp);
    EXPECT_EQ(row.item, decision.Item);
    EXPECT_EQ(row.reapplyLater, decision.ReapplyLater);
}

// Event, reduction ticked, mode, tint on, item reads "Disable"; then the ramp,
// the item and whether the re-apply timer starts (no unless said).
INSTANTIATE_TEST_SUITE_P(
    Events, BlueLightPolicy,
    ::testing::Values(
        PolicyRow{"StartupAlways", E::Startup, true, 1, false, false, Apply, Disable},
        PolicyRow{"StartupMenu", E::Startup, true, 2, false, false, Keep, Enable},
        PolicyRow{"StartupWithShield", E::Startup, true, 3, false, false, Keep, Grayed},
        PolicyRow{"StartupNoMode", E::Startup, true, 0, false, false, Keep, Grayed},
        PolicyRow{"StartupReductionOff", E::Startup, false, 1, false, false, Keep, Grayed},
        // After Modify Settings the item follows the mode; the dialog wrote the ramp.
        PolicyRow{"SettingsClosedAlways", E::SettingsClosed, true, 1, true, false, Keep, Disable},
        PolicyRow{"SettingsClosedMenu", E::SettingsClosed, true, 2, true, true, Keep, Enable},
        PolicyRow{"SettingsClosedWithShield", E::SettingsClosed, true, 3, false, true, Keep,
                  Grayed},
        // The item flips by what it reads, whatever the mode (a grayed item
        // can still be sent its command).
        PolicyRow{"MenuItemEnable", E::MenuItem, true, 2, false, false, Apply, Disable},
        PolicyRow{"MenuItemDisable", E::MenuItem, true, 2, true, true, Restore, Enable},
        PolicyRow{"MenuItemInAnotherMode", E::MenuItem, false, 3, false, false, Apply, Disable},
        PolicyRow{"DialogOkAlways", E::DialogOk, true, 1, false, false, Apply, Unchanged},
        PolicyRow{"DialogOkMenu", E::DialogOk, true, 2, true, true, Restore, Unchanged},
        PolicyRow{"DialogOkWithShield", E::DialogOk, true, 3, false, false, Restore, Unchanged},
        PolicyRow{"DialogOkReductionOff", E::DialogOk, false, 1, true, true, Restore, Unchanged},
        PolicyRow{"DialogCancelAlways", E::DialogCancel, true, 1, true, true, Apply, Unchanged},
        PolicyRow{"DialogCancelMenu", E::DialogCancel, true, 2, true, true, Restore, Unchanged},
        PolicyRow{"ShieldUpWithShield", E::ShieldUp, true, 3, false, false, Apply, Unchanged},
        PolicyRow{"ShieldUpReductionOff", E::ShieldUp, false, 3, false, false, Keep, Unchanged},
        PolicyRow{"ShieldUpAlways", E::ShieldUp, true, 1, true, true, Keep, Unchanged},
        PolicyRow{"ShieldUpMenu", E::ShieldUp, true, 2, false, false, Keep, Unchanged},
        PolicyRow{"UnlockAlways", E::Unlock, true, 1, true, true, Keep, Unchanged},
        // The tint goes while the item still offers to switch it off.
        PolicyRow{"UnlockMenu", E::Unlock, true, 2, true, true, Restore, Unchanged},
        PolicyRow{"UnlockWithShield", E::Unlock, true, 3, true, false, Restore, Unchanged},
        PolicyRow{"UnlockReductionOff", E::Unlock, false, 1, false, false, Restore, Unchanged},
        PolicyRow{"SystemEventTinted", E::SystemEvent, true, 3, true, false, Apply, Unchanged,
                  true},
        PolicyRow{"SystemEventUntinted", E::SystemEvent, true, 1, false, true, Keep, Unchanged},
        // The second write enables the grayed item, reading "Disable".
        PolicyRow{"ReapplyTimerWithShield", E::ReapplyTimer, true, 3, true, false, Apply, Disable},
        PolicyRow{"ReapplyTimerUntinted", E::ReapplyTimer, true, 2, false, true, Keep, Unchanged}),
    [](const ::testing::TestParamInfo<PolicyRow>& row) { return std::string(row.param.name); });

} // namespace
