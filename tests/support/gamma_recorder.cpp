#include "gamma_recorder.h"
#include <cstring>

static GammaRamp display;
static BOOL writeAnswer = TRUE;
static std::vector<GammaRamp> written;
static GammaRampFunction realRead = nullptr;
static GammaRampFunction realWrite = nullptr;

static BOOL WINAPI FakeRead(HDC, LPVOID ramp) {
    memcpy(ramp, &display, sizeof display);
    return TRUE;
}

static BOOL WINAPI FakeWrite(HDC, LPVOID ramp) {
    GammaRamp copy;
    memcpy(&copy, ramp, sizeof copy);
    written.push_back(copy);
    return writeAnswer;
}

void StartGammaRecording(const GammaRamp& displayRamp, BOOL writeResult) {
    if (!realRead) {
        realRead = ReadDeviceGammaRamp;
        realWrite = WriteDeviceGammaRamp;
    }
    display = displayRamp;
    writeAnswer = writeResult;
    written.clear();
    ReadDeviceGammaRamp = FakeRead;
    WriteDeviceGammaRamp = FakeWrite;
}

void StopGammaRecording() {
    if (realRead) {
        ReadDeviceGammaRamp = realRead;
        WriteDeviceGammaRamp = realWrite;
    }
}

std::vector<GammaRamp>& WrittenGammaRamps() {
    return written;
}

GammaRamp LinearGammaRamp() {
    GammaRamp ramp;
    for (int i = 0; i < 256; i++)
        ramp.Red[i] = ramp.Green[i] = ramp.Blue[i] = (WORD)(i * 256);
    return ramp;
}

GammaRamp CurvedDisplayRamp() {
    GammaRamp ramp;
    for (int i = 0; i < 256; i++) {
        ramp.Red[i] = (WORD)(i * i);
        ramp.Green[i] = (WORD)(i * 200);
        ramp.Blue[i] = (WORD)(65535 - i * 100);
    }
    return ramp;
}

GammaRamp ReducedGammaRamp(int level) {
    GammaRamp ramp;
    for (int i = 0; i < 256; i++) {
        ramp.Red[i] = (WORD)(i * 256);
        ramp.Green[i] = (WORD)((unsigned)(128 - level) * (unsigned)i);
        ramp.Blue[i] = 0;
    }
    return ramp;
}

bool SameRamp(const GammaRamp& a, const GammaRamp& b) {
    return memcmp(&a, &b, sizeof a) == 0;
}
