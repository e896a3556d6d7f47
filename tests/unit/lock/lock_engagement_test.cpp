// What a lock engages for a given settings record, decided without touching
// hooks, timers or windows.
#include "lock/input_hooks.h"
#include "lock/lock_controller.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>

namespace {

struct EngagementRow {
    const char* what;
    // The settings and the prompt at the moment of locking.
    bool keyboard, mouse, videos, shield, blueLight;
    int blueMode;
    bool promptOpen;
    // What the lock engages.
    bool noOptions;
    HOOKPROC keyboardProcedure;
    bool holdMouse, countVideos, touchShield, raisePrompt;
    bool timeLimit = false; // a viewing-time limit is stored; it engages as it is
};

const HOOKPROC None = nullptr;
const HOOKPROC AllKeys = BlockAllKeysProc;
const HOOKPROC WordKeys = UnlockWordKeyFilterProc;

const EngagementRow Rows[] = {
    // First line: keyboard, mouse, videos, shield, reduction, mode, prompt open.
    // Second line: no options, keyboard hook, mouse, videos, shield, raise prompt.
    // Whether the tint goes on with the shield is the blue light policy's (ShieldUp).
    {"nothing ticked", false, false, false, false, false, 1, false, //
     true, None, false, false, false, false},
    {"a tint mode alone engages nothing", false, false, false, false, true, BlueWithShield, false,
     true, None, false, false, false, false},
    {"keyboard while no prompt is open", true, false, false, false, false, 1, false, //
     false, AllKeys, false, false, false, false},
    {"keyboard while the prompt is open", true, false, false, false, false, 1, true, //
     false, WordKeys, false, false, false, false},
    {"mouse alone", false, true, false, false, false, 1, false, //
     false, None, true, false, false, false},
    {"video counter alone", false, false, true, false, false, 1, false, //
     false, None, false, true, false, false},
    {"shield alone, in the tint mode", false, false, false, true, true, BlueWithShield, false, //
     false, None, false, false, true, false},
    {"shield over the open prompt", true, false, false, true, false, 1, true, //
     false, WordKeys, false, false, true, true},
    {"everything", true, true, true, true, true, BlueWithShield, false, //
     false, AllKeys, true, true, true, false},
    {"a time limit alone", false, false, false, false, false, 1, false, //
     false, None, false, false, false, false, true},
};

TEST(LockEngagement, FollowsTheSettingsAndThePrompt) {
    for (const EngagementRow& row : Rows) {
        SettingsRecord settings;
        settings.DisableKeyboard = row.keyboard;
        settings.DisableMouse = row.mouse;
        settings.EnableYouTubeCount = row.videos;
        settings.EnableTouchShield = row.shield;
        settings.EnableBlueLightReduction = row.blueLight;
        settings.BlueMenu = row.blueMode;
        const LockEngagement engage = DecideLockEngagement(settings, row.promptOpen, row.timeLimit);
        SCOPED_TRACE(row.what);
        EXPECT_EQ(engage.noOptions, row.noOptions);
        EXPECT_EQ(engage.keyboardProcedure, row.keyboardProcedure);
        EXPECT_EQ(engage.holdMouse, row.holdMouse);
        EXPECT_EQ(engage.countVideos, row.countVideos);
        EXPECT_EQ(engage.touchShield, row.touchShield);
        EXPECT_EQ(engage.raisePrompt, row.raisePrompt);
        EXPECT_EQ(engage.timeLimit, row.timeLimit);
    }
}

} // namespace
