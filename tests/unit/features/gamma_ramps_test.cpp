// The ramps written to the display: the reduced ramp for each level, and the
// display's own ramp on the way back.
#include "support/gamma_recorder.h"
#include "features/blue_light.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

class GammaRamps : public ::testing::Test {
  protected:
    void SetUp() override {
        StartGammaRecording(CurvedDisplayRamp());
        SaveDisplayGamma();
        BlueLightApplied = false;
        WrittenGammaRamps().clear();
    }
    void TearDown() override {
        RestoreGamma(); // and with it the record an applied ramp keeps
        StopGammaRecording();
    }
};

struct GreenRow {
    int level;
    WORD green1, green128, green255;
};

class ReducedRamp : public GammaRamps, public ::testing::WithParamInterface<GreenRow> {};

TEST_P(ReducedRamp, SwitchesBlueOffKeepsRedLinearAndScalesGreen) {
    const GreenRow row = GetParam();
    ApplyBlueLight(row.level);

    ASSERT_EQ(1u, WrittenGammaRamps().size());
    const GammaRamp& ramp = WrittenGammaRamps()[0];
    EXPECT_EQ(row.green1, ramp.Green[1]);
    EXPECT_EQ(row.green128, ramp.Green[128]);
    EXPECT_EQ(row.green255, ramp.Green[255]);
    for (int i = 0; i < 256; i++) {
        ASSERT_EQ(i * 256, ramp.Red[i]) << "red must be linear whatever the display had, i=" << i;
        ASSERT_EQ(0, ramp.Blue[i]) << "i=" << i;
        if (i > 0) {
            ASSERT_GE(ramp.Green[i], ramp.Green[i - 1]) << "green must not wrap, i=" << i;
        }
    }
    EXPECT_TRUE(BlueLightApplied);
}

INSTANTIATE_TEST_SUITE_P(Levels, ReducedRamp,
                         ::testing::Values(GreenRow{-128, 256, 32768, 65280}, // green linear
                                           GreenRow{0, 128, 16384, 32640},
                                           GreenRow{64, 64, 8192, 16320},
                                           GreenRow{128, 0, 0, 0}, // no green at all
                                           // hand-edited values beyond the slider are clamped
                                           GreenRow{200, 0, 0, 0},
                                           GreenRow{-300, 256, 32768, 65280},
                                           GreenRow{70000, 0, 0, 0}));

// What the displays show is not this process's doing until it writes a ramp
// (it may be another copy's tint, gone by the time this one ends); from then
// on every way out writes their own ramps back.
TEST_F(GammaRamps, RestoreWritesTheDisplaysOwnRampOnlyOnceARampWasWritten) {
    RestoreGamma();
    EXPECT_EQ(0u, WrittenGammaRamps().size());
    ApplyBlueLight(64);
    RestoreGamma();
    RestoreGamma();
    ASSERT_EQ(3u, WrittenGammaRamps().size());
    EXPECT_TRUE(SameRamp(ReducedGammaRamp(64), WrittenGammaRamps()[0]));
    EXPECT_TRUE(SameRamp(CurvedDisplayRamp(), WrittenGammaRamps()[1]));
    EXPECT_TRUE(SameRamp(CurvedDisplayRamp(), WrittenGammaRamps()[2]));
    EXPECT_FALSE(BlueLightApplied);
}

TEST_F(GammaRamps, ARefusedWriteStillCountsAsApplied) {
    StartGammaRecording(CurvedDisplayRamp(), FALSE);
    ApplyBlueLight(0);
    EXPECT_TRUE(BlueLightApplied);
}

BOOL WINAPI UnreadableDisplay(const char*, GammaRamp* ramp) {
    memset(ramp, 0x5A, sizeof(GammaRamp)); // whatever a failing driver leaves behind
    return FALSE;
}

TEST_F(GammaRamps, AnUnreadableDisplayRampIsRestoredAsLinear) {
    GammaCalls.ReadDeviceGammaRamp = UnreadableDisplay;
    SaveDisplayGamma();
    ApplyBlueLight(128);
    RestoreGamma();
    ASSERT_EQ(2u, WrittenGammaRamps().size());
    EXPECT_TRUE(SameRamp(LinearGammaRamp(), WrittenGammaRamps()[1]));
}

} // namespace
