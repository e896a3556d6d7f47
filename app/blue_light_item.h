// The tray menu's blue light item (32781), and the blue light events the
// program's shell hands to the policy (start-up, the menu, the settings, the
// system's power and session events).
#pragma once
#include "../features/blue_light_policy.h"

// True while the item reads "Disable Blue Light Reduction" (BlueLightMenuState).
extern bool BlueLightMenuState;

// Shows the item as the policy decided: its text, enabled; or grayed, its
// text left as it was. Does nothing before the tray menu exists.
void ShowBlueLightItem(BlueLightItem item);
// Decides with the settings, the tint and the item as they are now, writes the
// ramp and shows the item; returns the decision.
BlueLightDecision ApplyBlueLightPolicy(BlueLightEvent event);
