// When the tint goes on or off, and what the tray menu's blue light item
// offers, for every event that touches either: one decision, so that start-up,
// the menu, the lock, the settings dialog and the system's events agree.
#pragma once
#include "../settings/settings_store.h"

enum class BlueLightEvent {
    Startup,        // the settings were loaded at start-up
    MenuItem,       // the tray menu's blue light item was chosen
    SettingsClosed, // Modify Settings is over: the dialog closed, or the word was refused
    DialogOk,       // the settings dialog's OK, with the record just taken from it
    DialogCancel,   // its Cancel, with the record as it was loaded
    ShieldUp,       // a lock engaged with the touch shield
    Unlock,         // the lock was released
    SystemEvent,    // a power or session event, after which Windows may put its own ramp back
    ReapplyTimer,   // the second write, some seconds after such an event
};

enum class RampAction { Keep, Apply, Restore };

// What the item shows afterwards. Grayed leaves its text as it was.
enum class BlueLightItem { Unchanged, Enable, Disable, Grayed };

struct BlueLightDecision {
    RampAction Ramp;
    BlueLightItem Item;
    bool ReapplyLater; // the ramp is written once more when the re-apply timer fires
};

// tintApplied: a reduced ramp is on (BlueLightApplied). itemReadsDisable: the
// item offers to switch the tint off; only the item's own events look at it,
// so the lock's events may pass false.
BlueLightDecision DecideBlueLight(BlueLightEvent event, const SettingsRecord& settings,
                                  bool tintApplied, bool itemReadsDisable);
// Writes the reduced ramp at this level, or the displays' own ramps, or nothing.
void CarryOutRampAction(RampAction action, int level);
