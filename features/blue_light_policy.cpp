// The rule behind every change of the tint and of the tray item. The item and
// the ramp are separate on purpose: after an unlock in "Menu" mode the tint
// is gone while the item still offers to switch it off, and a resume in
// "w/ Shield" mode enables the grayed item as it writes the tint again.
#include "blue_light_policy.h"
#include "blue_light.h"

// The item as the settings alone decide it: "Always" offers to switch the
// tint off, "Menu" to switch it on, every other mode leaves it grayed.
static BlueLightItem ItemForMode(const SettingsRecord& settings) {
    if (BlueLightMode(settings, BlueAlways))
        return BlueLightItem::Disable;
    if (BlueLightMode(settings, BlueFromMenu))
        return BlueLightItem::Enable;
    return BlueLightItem::Grayed;
}

BlueLightDecision DecideBlueLight(BlueLightEvent event, const SettingsRecord& settings,
                                  bool tintApplied, bool itemReadsDisable) {
    const bool always = BlueLightMode(settings, BlueAlways);
    switch (event) {
    case BlueLightEvent::Startup:
        return {always ? RampAction::Apply : RampAction::Keep, ItemForMode(settings), false};
    case BlueLightEvent::SettingsClosed:
        // The dialog has already written the ramp its OK or Cancel called for.
        return {RampAction::Keep, ItemForMode(settings), false};
    case BlueLightEvent::MenuItem:
        if (itemReadsDisable)
            return {RampAction::Restore, BlueLightItem::Enable, false};
        return {RampAction::Apply, BlueLightItem::Disable, false};
    case BlueLightEvent::DialogOk:
    case BlueLightEvent::DialogCancel:
        return {always ? RampAction::Apply : RampAction::Restore, BlueLightItem::Unchanged, false};
    case BlueLightEvent::ShieldUp:
        return {BlueLightMode(settings, BlueWithShield) ? RampAction::Apply : RampAction::Keep,
                BlueLightItem::Unchanged, false};
    case BlueLightEvent::Unlock:
        return {always ? RampAction::Keep : RampAction::Restore, BlueLightItem::Unchanged, false};
    case BlueLightEvent::SystemEvent:
        // Only a tint that is on is written again, at once and once more when
        // the display has settled.
        if (tintApplied)
            return {RampAction::Apply, BlueLightItem::Unchanged, true};
        return {RampAction::Keep, BlueLightItem::Unchanged, false};
    case BlueLightEvent::ReapplyTimer:
        if (tintApplied)
            return {RampAction::Apply, BlueLightItem::Disable, false};
        return {RampAction::Keep, BlueLightItem::Unchanged, false};
    }
    return {RampAction::Keep, BlueLightItem::Unchanged, false};
}

void CarryOutRampAction(RampAction action, int level) {
    if (action == RampAction::Apply)
        ApplyBlueLight(level);
    else if (action == RampAction::Restore)
        RestoreGamma();
}
