// The whole start-up run in this process, for each combination of blue light
// settings: what is written to the display once the message loop runs, how the
// tray item reads, and what is written back on Exit. The start-up's splash
// pauses (2 + 3 + 4 s) are counted, not slept, through start-up's pause seam.
#include "tray_menu_item.h"
#include "support/gamma_recorder.h"
#include "support/product_settings.h"
#include "support/tray_recorder.h"
#include "app/main_window.h"
#include "app/splash.h"
#include "app/splash_screen.h"
#include "app/startup.h"
#include "features/blue_light.h"
#include "res/resource.h"
#include "settings/settings_store.h"
#include "win/session_mutex.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

const int Level = -40;
const DWORD StartupPauses = 9000; // the splash sequence sleeps 2 + 3 + 4 s

struct StartupRow {
    const char* name;
    bool enabled;
    int mode;
    bool applied;
    bool grayed;
    const char* itemText; // nullptr: not looked at
};

struct Observed {
    bool probed = false;
    DWORD sleptBeforeLoop = 0;
    std::vector<GammaRamp> writes;
    bool applied = false;
    bool grayed = false;
    std::string itemText;
};

Observed observed;

// The pauses start-up asked for while a run was counting.
std::atomic<DWORD> sleptMs{0};
// The splash's status line at each pause.
std::vector<std::wstring> shownAtPauses;
VOID WINAPI CountedSleep(DWORD ms) {
    sleptMs += ms;
    shownAtPauses.push_back(SplashInstance ? SplashInstance->StatusText() : L"(no splash)");
}

// Runs inside the program's message loop: looks at the state start-up left,
// then chooses Exit as the tray menu would.
void CALLBACK ProbeRunningProgram(HWND, UINT, UINT_PTR id, DWORD) {
    if (sleptMs < StartupPauses || !MainWindow)
        return;
    KillTimer(nullptr, id);
    observed.probed = true;
    observed.sleptBeforeLoop = sleptMs;
    observed.writes = WrittenGammaRamps();
    observed.applied = BlueLightApplied;
    observed.grayed = BlueLightItemGrayed();
    observed.itemText = BlueLightItemText();
    PostMessageA(MainWindow, WM_COMMAND, IDM_EXIT, 0);
}

// Ends the run if the program never gets to its loop or never leaves it.
HANDLE runEnded = nullptr;
DWORD WINAPI Watchdog(LPVOID thread) {
    if (WaitForSingleObject(runEnded, 40000) == WAIT_TIMEOUT)
        PostThreadMessageA((DWORD)(DWORD_PTR)thread, WM_QUIT, 0, 0);
    return 0;
}

class StartupBlueLight : public ::testing::TestWithParam<StartupRow> {
  protected:
    void SetUp() override {
        ASSERT_EQ(nullptr, FindWindowA("MORROWBY", nullptr)) << "another copy would stop start-up";
        const StartupRow row = GetParam();
        WriteProductSettings({{"EnableBlueLightReduction", row.enabled ? "1" : "0"},
                              {"BlueMenu", std::to_string(row.mode)},
                              {"GreenGamma", std::to_string(Level)}});
        // The same values in memory, for a settings store that does not read them.
        Settings = SettingsRecord();
        Settings.EnableBlueLightReduction = row.enabled;
        Settings.BlueMenu = row.mode;
        Settings.GreenGamma = Level;
        StartTrayRecording();
        StartGammaRecording(CurvedDisplayRamp());
        SaveDisplayGamma();
        BlueLightApplied = false;
        observed = Observed();
    }
    void TearDown() override {
        Tray.RemoveFromTray();
        StopTrayRecording();
        StopGammaRecording();
        DeleteProductSettings();
        BlueLightApplied = false;
    }
};

TEST_P(StartupBlueLight, InitialStateAndRestoreOnExit) {
    const StartupRow row = GetParam();
    const PauseFunction realPause = StartupPause;
    StartupPause = CountedSleep;
    sleptMs = 0;
    shownAtPauses.clear();
    SetTimer(nullptr, 0, 100, ProbeRunningProgram);
    runEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE watchdog =
        CreateThread(nullptr, 0, Watchdog, (LPVOID)(DWORD_PTR)GetCurrentThreadId(), 0, nullptr);
    int exitCode = RunMorrowby(GetModuleHandleA(nullptr));
    StartupPause = realPause;
    SetEvent(runEnded);
    WaitForSingleObject(watchdog, 5000);
    CloseHandle(watchdog);
    CloseHandle(runEnded);

    ASSERT_TRUE(observed.probed) << "the message loop never ran";
    EXPECT_EQ(StartupPauses, observed.sleptBeforeLoop) << "the splash pauses before the loop";
    EXPECT_EQ(shownAtPauses, (std::vector<std::wstring>{L"Starting application...",
                                                        L"Tap icon for menu - Double-tap to Lock",
                                                        L"Minimizing to system tray"}));
    if (row.applied) {
        ASSERT_EQ(1u, observed.writes.size());
        EXPECT_TRUE(SameRamp(ReducedGammaRamp(Level), observed.writes[0]));
    } else {
        EXPECT_EQ(0u, observed.writes.size()) << "the screen must stay as it was";
    }
    EXPECT_EQ(row.applied, observed.applied);
    EXPECT_EQ(row.grayed, observed.grayed);
    if (row.itemText) {
        EXPECT_EQ(row.itemText, observed.itemText);
    }

    EXPECT_EQ(0, exitCode);
    if (row.applied) {
        ASSERT_FALSE(WrittenGammaRamps().empty());
        EXPECT_TRUE(SameRamp(CurvedDisplayRamp(), WrittenGammaRamps().back()))
            << "after Exit the display has its own ramp again";
    } else {
        EXPECT_EQ(0u, WrittenGammaRamps().size()) << "a screen never tinted is never written";
    }
    EXPECT_FALSE(BlueLightApplied);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StartupBlueLight,
    ::testing::Values(StartupRow{"Always", true, 1, true, false, "Disable Blue Light Reduction"},
                      StartupRow{"Menu", true, 2, false, false, "Enable Blue Light Reduction"},
                      StartupRow{"WithShield", true, 3, false, true, nullptr},
                      StartupRow{"NoModeChosen", true, 0, false, true, nullptr},
                      StartupRow{"ReductionOff", false, 1, false, true, nullptr}),
    [](const ::testing::TestParamInfo<StartupRow>& row) { return std::string(row.param.name); });

// A copy started while another runs notes it and ends without touching the
// displays: the ramp it would read may be the other copy's tint, which it
// would bring back at its exit after the other removed it.
TEST(SecondCopy, ReadsAndWritesNoRampNotEvenOnItsWaysOut) {
    StartGammaRecording(ReducedGammaRamp(Level)); // the other copy's tint
    SaveDisplayGamma();                           // what a process would see at its very start
    GammaRampReads() = 0;
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE letGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread otherCopy([&] {
        HeldMutex held = TakeSessionMutex(L"Orvane.Morrowby");
        SignalObjectAndWait(taken, letGo, 10000, FALSE);
    });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(taken, 5000));
    const PauseFunction realPause = StartupPause;
    StartupPause = CountedSleep;
    sleptMs = 0;
    shownAtPauses.clear();

    EXPECT_EQ(0, RunMorrowby(GetModuleHandleA(nullptr)));
    EXPECT_EQ(shownAtPauses, std::vector<std::wstring>{L"Morrowby is already running"});
    EXPECT_EQ(3000u, sleptMs.load()) << "the note stays for three seconds";
    ShownGammaRamp(0) = CurvedDisplayRamp(); // the other copy takes its tint away
    RestoreGamma();                          // every way out of this copy
    EXPECT_EQ(0, GammaRampReads());
    EXPECT_EQ(0u, WrittenGammaRamps().size());

    StartupPause = realPause;
    CloseSplash();
    SetEvent(letGo);
    otherCopy.join();
    CloseHandle(taken);
    CloseHandle(letGo);
    StopGammaRecording();
}

} // namespace
