#include "blue_light_item.h"
#include "tray_icon.h"
#include "resource_texts.h"
#include "../features/blue_light.h"
#include "../res/resource.h"
#include "../settings/settings_store.h"

bool BlueLightMenuState = false;

void ShowBlueLightItem(BlueLightItem item) {
    if (item == BlueLightItem::Unchanged || !Tray.Menu())
        return;
    if (item == BlueLightItem::Grayed) {
        EnableMenuItem(Tray.Menu(), IDM_BLUELIGHT, MF_GRAYED);
        return;
    }
    BlueLightMenuState = item == BlueLightItem::Disable;
    Tray.SetMenuItemText(IDM_BLUELIGHT,
                         BlueLightMenuState ? Texts.DisableBlueText : Texts.EnableBlueText);
    EnableMenuItem(Tray.Menu(), IDM_BLUELIGHT, MF_ENABLED);
}

BlueLightDecision ApplyBlueLightPolicy(BlueLightEvent event) {
    const BlueLightDecision decision =
        DecideBlueLight(event, Settings, BlueLightApplied, BlueLightMenuState);
    CarryOutRampAction(decision.Ramp, Settings.GreenGamma);
    ShowBlueLightItem(decision.Item);
    return decision;
}
