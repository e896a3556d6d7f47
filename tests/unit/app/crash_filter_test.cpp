// A crash must not leave the screen tinted: the process-wide object installs an
// unhandled-exception filter and a terminate handler that put the display's
// ramp back.
#include "support/gamma_recorder.h"
#include "app/crash_filter.h"
#include "app/main_window.h"
#include "features/blue_light.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <exception>

namespace {

GammaRamp HalfRamp() {
    GammaRamp ramp;
    for (int i = 0; i < 256; i++)
        ramp.Red[i] = ramp.Green[i] = ramp.Blue[i] = (WORD)(i * 128);
    return ramp;
}

LPTOP_LEVEL_EXCEPTION_FILTER InstalledFilter() {
    LPTOP_LEVEL_EXCEPTION_FILTER current = SetUnhandledExceptionFilter(nullptr);
    SetUnhandledExceptionFilter(current);
    return current;
}

int chainedCalls = 0;
size_t rampsWrittenBeforeChain = 0;
LONG WINAPI ChainedFilter(EXCEPTION_POINTERS*) {
    chainedCalls++;
    rampsWrittenBeforeChain = WrittenGammaRamps().size();
    return EXCEPTION_EXECUTE_HANDLER;
}

class CrashRestore : public ::testing::Test {
  protected:
    void SetUp() override {
        StartGammaRecording(HalfRamp());
        SaveDisplayGamma();
        ApplyBlueLight(100);
        WrittenGammaRamps().clear();
        record.ExceptionCode = 0xE0424C55; // a software exception nobody else handles
        pointers.ExceptionRecord = &record;
        pointers.ContextRecord = &context;
        savedPrevious = PreviousCrashFilter;
    }
    void TearDown() override {
        PreviousCrashFilter = savedPrevious;
        StopGammaRecording();
        BlueLightApplied = false;
    }
    EXCEPTION_RECORD record = {};
    CONTEXT context = {};
    EXCEPTION_POINTERS pointers = {};
    LPTOP_LEVEL_EXCEPTION_FILTER savedPrevious = nullptr;
};

TEST_F(CrashRestore, TheProcessObjectInstallsTheFilter) {
    // The process objects are linked in (the main window is one of them), so
    // they are constructed before main as in the program.
    volatile const void* linked = &MainWindow;
    (void)linked;
    EXPECT_EQ(RestoreGammaOnCrash, InstalledFilter());
}

TEST_F(CrashRestore, TheFilterWritesTheSavedRampAndLetsTheCrashGoOn) {
    PreviousCrashFilter = nullptr;
    LONG result = InstalledFilter()(&pointers);
    EXPECT_EQ(EXCEPTION_CONTINUE_SEARCH, result);
    ASSERT_EQ(1u, WrittenGammaRamps().size());
    EXPECT_TRUE(SameRamp(HalfRamp(), WrittenGammaRamps()[0]));
}

TEST_F(CrashRestore, TheFilterRestoresFirstThenHandsOnToThePreviousFilter) {
    PreviousCrashFilter = ChainedFilter;
    chainedCalls = 0;
    LONG result = RestoreGammaOnCrash(&pointers);
    EXPECT_EQ(1, chainedCalls);
    EXPECT_EQ(1u, rampsWrittenBeforeChain);
    EXPECT_EQ(EXCEPTION_EXECUTE_HANDLER, result);
}

// An uncaught C++ exception ends in terminate and abort, which no exception
// filter sees; the terminate handler puts the ramp back before it aborts.
// The process that ends reports every ramp written on its error output.
BOOL WINAPI ReportWrite(const char*, GammaRamp* ramp) {
    fprintf(stderr, "wrote green[255]=%u\n", ramp->Green[255]);
    return TRUE;
}

TEST(TerminateRestore, PutsTheSavedRampBackBeforeTheProcessEnds) {
    EXPECT_DEATH(
        {
            StartGammaRecording(HalfRamp());
            SaveDisplayGamma();
            ApplyBlueLight(100);
            GammaCalls.WriteDeviceGammaRamp = ReportWrite;
            std::terminate();
        },
        "wrote green\\[255\\]=32640"); // HalfRamp's
}

} // namespace
