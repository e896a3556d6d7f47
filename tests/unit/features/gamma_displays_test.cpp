// Every display gets the reduced ramp and its own ramp back; the reduced ramp
// is watched while it is on; and a record outside the process undoes a tint
// that a killed process left behind.
#include "support/gamma_recorder.h"
#include "features/blue_light.h"
#include "features/gamma_record.h"
#include "res/timer_ids.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

GammaRamp FlatterRamp() {
    GammaRamp ramp;
    for (int i = 0; i < 256; i++)
        ramp.Red[i] = ramp.Green[i] = ramp.Blue[i] = (WORD)(i * 128 + 300);
    return ramp;
}

// Every session's record, and the parent key they are kept under.
void DeleteEveryGammaRecord() {
    std::string path = GammaRecordKeyPath();
    RegDeleteTreeA(HKEY_CURRENT_USER, path.substr(0, path.rfind('\\')).c_str());
}

class GammaDisplays : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteEveryGammaRecord();
        StartGammaRecording({CurvedDisplayRamp(), FlatterRamp()});
        SaveDisplayGamma();
        WrittenGammaRamps().clear();
    }
    void TearDown() override {
        RestoreGamma();
        StopGammaRecording();
        DeleteEveryGammaRecord();
    }
};

TEST_F(GammaDisplays, EachDisplayIsTintedAndGetsItsOwnRampBack) {
    ApplyBlueLight(40);
    EXPECT_TRUE(SameRamp(ReducedGammaRamp(40), ShownGammaRamp(0)));
    EXPECT_TRUE(SameRamp(ReducedGammaRamp(40), ShownGammaRamp(1)));
    RestoreGamma();
    EXPECT_TRUE(SameRamp(CurvedDisplayRamp(), ShownGammaRamp(0)));
    EXPECT_TRUE(SameRamp(FlatterRamp(), ShownGammaRamp(1)));
}

struct DriftRow {
    const char* name;
    int change; // added to every entry of display 2's reduced ramp by "the system"
    bool putBack;
    bool rewritten;
};

class GammaWatch : public GammaDisplays, public ::testing::WithParamInterface<DriftRow> {};

TEST_P(GammaWatch, ARampPutBackBehindTheProgramsBackIsReducedAgain) {
    const DriftRow row = GetParam();
    ApplyBlueLight(40);
    GammaRamp& shown = ShownGammaRamp(1);
    if (row.putBack)
        shown = FlatterRamp();
    for (int i = 0; i < 256; i++)
        shown.Red[i] = (WORD)(shown.Red[i] + row.change);
    WrittenGammaRamps().clear();
    WrittenGammaDevices().clear();
    WatchGammaTick(nullptr, WM_TIMER, GammaWatchTimerId, 0);
    ASSERT_EQ(row.rewritten ? 1u : 0u, WrittenGammaRamps().size());
    if (row.rewritten) {
        EXPECT_EQ("\\\\.\\DISPLAY2", WrittenGammaDevices()[0]);
        EXPECT_TRUE(SameRamp(ReducedGammaRamp(40), ShownGammaRamp(1)));
    }
}

INSTANTIATE_TEST_SUITE_P(Drift, GammaWatch,
                         ::testing::Values(DriftRow{"Unchanged", 0, false, false},
                                           DriftRow{"ResampledByTheDriver", 200, false, false},
                                           DriftRow{"ChangedBeyondResampling", 3000, false, true},
                                           DriftRow{"OwnRampPutBack", 0, true, true}),
                         [](const ::testing::TestParamInfo<DriftRow>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(GammaDisplays, TheWatchTimerExistsOnlyWhileAReducedRampIsOn) {
    HWND window =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetGammaWatchWindow(window); // as the main window hands itself down
    ApplyBlueLight(40);
    EXPECT_TRUE(KillTimer(window, GammaWatchTimerId));
    ApplyBlueLight(40);
    RestoreGamma();
    EXPECT_FALSE(KillTimer(window, GammaWatchTimerId));
    SetGammaWatchWindow(nullptr);
    DestroyWindow(window);
}

// The record, as read from outside: each display's ramp under its device name.
bool RecordedRamp(const char* device, GammaRamp* ramp) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, GammaRecordKeyPath().c_str(), 0, KEY_QUERY_VALUE, &key))
        return false;
    DWORD size = sizeof *ramp;
    bool read = RegQueryValueExA(key, device, nullptr, nullptr, (BYTE*)ramp, &size) == 0 &&
                size == sizeof *ramp;
    RegCloseKey(key);
    return read;
}

// The record's parent key, where the version before kept its one record.
std::string RecordParentPath() {
    std::string path = GammaRecordKeyPath();
    return path.substr(0, path.rfind('\\'));
}

void WriteRecordValue(const char* name, const void* data, DWORD size,
                      const std::string& path = GammaRecordKeyPath()) {
    HKEY key;
    ASSERT_EQ(0, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, REG_BINARY, (const BYTE*)data, size);
    RegCloseKey(key);
}

struct RemovalRow {
    const char* name;
    void (*meanwhile)(); // done to the record while the reduced ramp is on
    bool recordStays;
};

class RecordRemoval : public GammaDisplays, public ::testing::WithParamInterface<RemovalRow> {};

TEST_P(RecordRemoval, TheOwnRampsAreOnRecordOnlyWhileAReducedRampIsOn) {
    const RemovalRow row = GetParam();
    GammaRamp recorded;
    EXPECT_FALSE(RecordedRamp("\\\\.\\DISPLAY1", &recorded));
    ApplyBlueLight(40);
    ASSERT_TRUE(RecordedRamp("\\\\.\\DISPLAY1", &recorded));
    EXPECT_TRUE(SameRamp(CurvedDisplayRamp(), recorded));
    ASSERT_TRUE(RecordedRamp("\\\\.\\DISPLAY2", &recorded));
    EXPECT_TRUE(SameRamp(FlatterRamp(), recorded));
    if (row.meanwhile)
        row.meanwhile();
    RestoreGamma();
    EXPECT_EQ(row.recordStays, RecordedRamp("\\\\.\\DISPLAY1", &recorded));
    if (!row.recordStays) {
        // Whatever is left of the key is no record for the next start.
        WrittenGammaRamps().clear();
        SaveDisplayGamma();
        EXPECT_TRUE(WrittenGammaRamps().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Removal, RecordRemoval,
    ::testing::Values(
        RemovalRow{"KeyGoes", nullptr, false},
        // A key with a key below it cannot be deleted: its values go one by one.
        RemovalRow{"KeyCannotGo",
                   [] {
                       HKEY below;
                       RegCreateKeyA(HKEY_CURRENT_USER, (GammaRecordKeyPath() + "\\x").c_str(),
                                     &below);
                       RegCloseKey(below);
                   },
                   false},
        // Written over by another process (same id, another start): not this one's to delete.
        RemovalRow{"WrittenByAnother",
                   [] {
                       const DWORD owner[3] = {GetCurrentProcessId(), 1, 1};
                       WriteRecordValue("Owner", owner, sizeof owner);
                   },
                   true}),
    [](const ::testing::TestParamInfo<RemovalRow>& row) { return std::string(row.param.name); });

// A process that was killed while the tint was on: its record stays, with an
// owner that no longer runs, and the displays still show the tint.
void LeaveRecordOfAKilledProcess(const std::string& display2Value,
                                 const std::string& path = GammaRecordKeyPath()) {
    GammaRamp own = CurvedDisplayRamp();
    WriteRecordValue("\\\\.\\DISPLAY1", &own, sizeof own, path);
    if (!display2Value.empty())
        WriteRecordValue("\\\\.\\DISPLAY2", display2Value.data(), (DWORD)display2Value.size(),
                         path);
    const BYTE goneOwner[12] = {}; // process id 0 never is a program
    WriteRecordValue("Owner", goneOwner, sizeof goneOwner, path);
}

struct RecordRow {
    const char* name;
    std::string display2Value;
    bool display2Recorded; // else the linear ramp
};

class AbandonedRecord : public GammaDisplays, public ::testing::WithParamInterface<RecordRow> {};

TEST_P(AbandonedRecord, TheNextStartPutsTheRecordedRampsBackBeforeSaving) {
    const RecordRow row = GetParam();
    ShownGammaRamp(0) = ShownGammaRamp(1) = ReducedGammaRamp(40);
    LeaveRecordOfAKilledProcess(row.display2Value);
    SaveDisplayGamma();
    GammaRamp display2 = row.display2Recorded ? FlatterRamp() : LinearGammaRamp();
    EXPECT_TRUE(SameRamp(CurvedDisplayRamp(), ShownGammaRamp(0)));
    EXPECT_TRUE(SameRamp(display2, ShownGammaRamp(1)));
    GammaRamp recorded;
    EXPECT_FALSE(RecordedRamp("\\\\.\\DISPLAY1", &recorded));
    // And those are the ramps every later way out writes back.
    ApplyBlueLight(0);
    RestoreGamma();
    EXPECT_TRUE(SameRamp(CurvedDisplayRamp(), ShownGammaRamp(0)));
    EXPECT_TRUE(SameRamp(display2, ShownGammaRamp(1)));
}

std::string RampBytes(const GammaRamp& ramp) {
    return std::string((const char*)&ramp, sizeof ramp);
}

// A damaged value of the right type and size: the linear ramp stands in for
// it. Zeros would leave the screen black, a tint kept by mistake would stay.
INSTANTIATE_TEST_SUITE_P(
    Records, AbandonedRecord,
    ::testing::Values(RecordRow{"Intact", RampBytes(FlatterRamp()), true},
                      RecordRow{"Missing", "", false},
                      RecordRow{"Truncated", RampBytes(FlatterRamp()).substr(0, 1000), false},
                      RecordRow{"AllZero", std::string(sizeof(GammaRamp), '\0'), false},
                      RecordRow{"Tint", RampBytes(ReducedGammaRamp(-128)), false},
                      // one green entry in the middle dropped to zero
                      RecordRow{"Falling", RampBytes(FlatterRamp()).replace(900, 2, 2, '\0'),
                                false}),
    [](const ::testing::TestParamInfo<RecordRow>& row) { return std::string(row.param.name); });

// Killed while tinted, then upgraded: the version before kept its record
// right under the parent key, not per session.
TEST_F(GammaDisplays, ARecordOfTheVersionBeforeIsPutBackAndRemoved) {
    ShownGammaRamp(0) = ShownGammaRamp(1) = ReducedGammaRamp(40);
    LeaveRecordOfAKilledProcess(RampBytes(FlatterRamp()), RecordParentPath());
    SaveDisplayGamma();
    EXPECT_TRUE(SameRamp(CurvedDisplayRamp(), ShownGammaRamp(0)));
    EXPECT_TRUE(SameRamp(FlatterRamp(), ShownGammaRamp(1)));
    HKEY parent;
    EXPECT_NE(0, RegOpenKeyExA(HKEY_CURRENT_USER, RecordParentPath().c_str(), 0, KEY_QUERY_VALUE,
                               &parent));
}

TEST_F(GammaDisplays, ARecordOfAProgramStillRunningIsLeftAlone) {
    ApplyBlueLight(40); // this process is the one still running
    WrittenGammaRamps().clear();
    SaveDisplayGamma();
    EXPECT_TRUE(WrittenGammaRamps().empty());
    GammaRamp recorded;
    EXPECT_TRUE(RecordedRamp("\\\\.\\DISPLAY1", &recorded));
}

} // namespace
