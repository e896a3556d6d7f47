// The main window's part in blue light reduction: the tray item, re-applying
// after power and session events, and restoring on the way out.
#include "tray_menu_item.h"
#include "support/gamma_recorder.h"
#include "support/in_process_app.h"
#include "support/wait.h"
#include "app/blue_light_item.h"
#include "app/main_window.h"
#include "features/blue_light.h"
#include "res/resource.h"
#include "res/timer_ids.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>
#include <wtsapi32.h>

namespace {

const int Level = 64;

class MainWindowGamma : public ::testing::Test {
  protected:
    void SetUp() override {
        StartGammaRecording(CurvedDisplayRamp());
        SaveDisplayGamma();
        BlueLightApplied = false;
        window = StartInProcessApp();
        ASSERT_NE(nullptr, window);
        Settings.EnableBlueLightReduction = true;
        Settings.BlueMenu = 2; // "Menu"
        Settings.GreenGamma = Level;
        ShowBlueLightItem(BlueLightItem::Enable); // as start-up shows it in this mode
        WrittenGammaRamps().clear();
    }
    void TearDown() override {
        if (MainWindow)
            KillTimer(MainWindow, BlueLightReapplyTimerId);
        StopInProcessApp();
        StopGammaRecording();
        BlueLightApplied = false;
    }
    size_t Writes() const { return WrittenGammaRamps().size(); }
    bool LastWriteIs(const GammaRamp& ramp) const {
        return !WrittenGammaRamps().empty() && SameRamp(ramp, WrittenGammaRamps().back());
    }
    // True when timer 337 was still running (KillTimer fails on a missing timer).
    bool ReapplyTimerWasRunning() const {
        return KillTimer(window, BlueLightReapplyTimerId) != FALSE;
    }
    HWND window = nullptr;
};

TEST_F(MainWindowGamma, TheMenuItemAlternatelyAppliesAndRestores) {
    struct Step {
        bool applied;
        const char* itemText;
    };
    const Step steps[] = {{true, "Disable Blue Light Reduction"},
                          {false, "Enable Blue Light Reduction"},
                          {true, "Disable Blue Light Reduction"}};
    ASSERT_EQ("Enable Blue Light Reduction", BlueLightItemText());
    for (const Step& step : steps) {
        SendMessageA(window, WM_COMMAND, IDM_BLUELIGHT, 0);
        EXPECT_EQ(step.applied, BlueLightApplied);
        EXPECT_TRUE(LastWriteIs(step.applied ? ReducedGammaRamp(Level) : CurvedDisplayRamp()));
        EXPECT_EQ(step.itemText, BlueLightItemText());
        EXPECT_FALSE(BlueLightItemGrayed());
    }
}

struct SystemEvent {
    const char* name;
    UINT message;
    WPARAM wParam;
};

class ReapplyAfterEvent : public MainWindowGamma,
                          public ::testing::WithParamInterface<SystemEvent> {};

TEST_P(ReapplyAfterEvent, WritesTheReducedRampAtOnceAndAgainWhenItsTimerFires) {
    ApplyBlueLight(Level); // as the lock does in "w/ Shield" mode: the item still reads "Enable"
    WrittenGammaRamps().clear();

    SendMessageA(window, GetParam().message, GetParam().wParam, 0);
    ASSERT_EQ(1u, Writes()) << "written at once";
    EXPECT_TRUE(LastWriteIs(ReducedGammaRamp(Level)));
    EXPECT_TRUE(ReapplyTimerWasRunning());

    BlueLightReapplyTimer(window, WM_TIMER, BlueLightReapplyTimerId, 0);
    ASSERT_EQ(2u, Writes());
    EXPECT_TRUE(LastWriteIs(ReducedGammaRamp(Level)));
    EXPECT_EQ("Disable Blue Light Reduction", BlueLightItemText());
    EXPECT_TRUE(BlueLightMenuState);
}

TEST_P(ReapplyAfterEvent, WritesNothingAndSetsNoTimerWhenTheRampIsNotReduced) {
    SendMessageA(window, GetParam().message, GetParam().wParam, 0);
    PumpMessagesFor(100);
    EXPECT_EQ(0u, Writes());
    EXPECT_FALSE(ReapplyTimerWasRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Events, ReapplyAfterEvent,
    ::testing::Values(SystemEvent{"Resume", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
                      SystemEvent{"Suspend", WM_POWERBROADCAST, PBT_APMSUSPEND},
                      SystemEvent{"SessionUnlock", WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK}),
    [](const ::testing::TestParamInfo<SystemEvent>& event) {
        return std::string(event.param.name);
    });

// The one test that waits for timer 337 itself: it is set for about five
// seconds, a second event starts the delay again, and it fires only once.
TEST_F(MainWindowGamma, ASecondEventRestartsTheDelayAndTheTimerFiresOnce) {
    ApplyBlueLight(Level);
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    PumpMessagesFor(2000);
    WrittenGammaRamps().clear();
    ULONGLONG start = GetTickCount64();
    SendMessageA(window, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    ASSERT_TRUE(WaitUntil([&] { return Writes() >= 2; }, 15000));
    const ULONGLONG delay = GetTickCount64() - start;
    EXPECT_GE(delay, 4500u);
    EXPECT_LE(delay, 15000u);
    EXPECT_TRUE(LastWriteIs(ReducedGammaRamp(Level)));
    PumpMessagesFor(300);
    EXPECT_EQ(2u, Writes()) << "once per event";
    EXPECT_FALSE(ReapplyTimerWasRunning());
}

TEST_F(MainWindowGamma, ALaterRestoreStopsTheSecondWrite) {
    ApplyBlueLight(Level);
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    RestoreGamma(); // e.g. the lock is released in "w/ Shield" mode
    WrittenGammaRamps().clear();
    BlueLightReapplyTimer(window, WM_TIMER, BlueLightReapplyTimerId, 0);
    EXPECT_EQ(0u, Writes());
    EXPECT_FALSE(BlueLightApplied);
    EXPECT_FALSE(ReapplyTimerWasRunning());
}

TEST_F(MainWindowGamma, TheEndOfTheSessionRestoresTheDisplaysRamp) {
    for (WPARAM ending : {TRUE, FALSE}) {
        ApplyBlueLight(Level);
        EXPECT_EQ(0, SendMessageA(window, WM_ENDSESSION, ending, 0));
        EXPECT_TRUE(LastWriteIs(CurvedDisplayRamp())) << "wParam " << ending;
        EXPECT_FALSE(BlueLightApplied);
    }
}

TEST_F(MainWindowGamma, DestroyingTheMainWindowRestoresAndEndsTheLoop) {
    ApplyBlueLight(Level);
    MainWindow.Reset();
    EXPECT_TRUE(LastWriteIs(CurvedDisplayRamp()));
    EXPECT_FALSE(BlueLightApplied);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindowGamma, DestroyingAnotherWindowOfTheSameProcedureLeavesTheRamp) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc; // as the padlock window's class does
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MainProcedureTestWindow";
    RegisterClassA(&windowClass);
    HWND other = CreateWindowExA(0, "MainProcedureTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, other);
    ApplyBlueLight(Level);
    WrittenGammaRamps().clear();
    DestroyWindow(other);
    EXPECT_EQ(0u, Writes());
    EXPECT_TRUE(BlueLightApplied);
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
