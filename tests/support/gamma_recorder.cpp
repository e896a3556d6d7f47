#include "gamma_recorder.h"
#include <cstdio>
#include <cstring>

static std::vector<GammaRamp> displays;
static BOOL writeAnswer = TRUE;
static std::vector<GammaRamp> written;
static std::vector<std::string> writtenDevices;
static int reads = 0;
static bool replaced = false;
static DisplayListFunction realList = nullptr;
static GammaRampFunction realRead = nullptr;
static GammaRampFunction realWrite = nullptr;

static std::string DeviceName(size_t display) {
    return "\\\\.\\DISPLAY" + std::to_string(display + 1);
}

static int DisplayOf(const char* device) {
    for (size_t i = 0; i < displays.size(); i++)
        if (DeviceName(i) == device)
            return (int)i;
    return -1;
}

// Each display comes after an entry that is not attached to the desktop, as
// adapters list their unused outputs too.
static BOOL WINAPI FakeList(LPCSTR, DWORD index, PDISPLAY_DEVICEA device, DWORD) {
    if (index >= 2 * displays.size())
        return FALSE;
    std::string name =
        index % 2 ? DeviceName(index / 2) : "\\\\.\\DISPLAYV" + std::to_string(index);
    snprintf(device->DeviceName, sizeof device->DeviceName, "%s", name.c_str());
    device->StateFlags = index % 2 ? DISPLAY_DEVICE_ATTACHED_TO_DESKTOP : 0;
    return TRUE;
}

static BOOL WINAPI FakeRead(const char* device, GammaRamp* ramp) {
    reads++;
    int display = DisplayOf(device);
    if (display < 0)
        return FALSE;
    *ramp = displays[display];
    return TRUE;
}

static BOOL WINAPI FakeWrite(const char* device, GammaRamp* ramp) {
    written.push_back(*ramp);
    writtenDevices.push_back(device);
    int display = DisplayOf(device);
    if (display < 0)
        return FALSE;
    if (writeAnswer)
        displays[display] = *ramp;
    return writeAnswer;
}

void StartGammaRecording(const GammaRamp& displayRamp, BOOL writeResult) {
    StartGammaRecording(std::vector<GammaRamp>{displayRamp}, writeResult);
}

void StartGammaRecording(const std::vector<GammaRamp>& displayRamps, BOOL writeResult) {
    if (!replaced) {
        realList = GammaCalls.EnumerateDisplayDevices;
        realRead = GammaCalls.ReadDeviceGammaRamp;
        realWrite = GammaCalls.WriteDeviceGammaRamp;
        replaced = true;
    }
    displays = displayRamps;
    writeAnswer = writeResult;
    written.clear();
    writtenDevices.clear();
    reads = 0;
    GammaCalls.EnumerateDisplayDevices = FakeList;
    GammaCalls.ReadDeviceGammaRamp = FakeRead;
    GammaCalls.WriteDeviceGammaRamp = FakeWrite;
}

void StopGammaRecording() {
    if (replaced) {
        GammaCalls.EnumerateDisplayDevices = realList;
        GammaCalls.ReadDeviceGammaRamp = realRead;
        GammaCalls.WriteDeviceGammaRamp = realWrite;
    }
}

std::vector<GammaRamp>& WrittenGammaRamps() {
    return written;
}

std::vector<std::string>& WrittenGammaDevices() {
    return writtenDevices;
}

int& GammaRampReads() {
    return reads;
}

GammaRamp& ShownGammaRamp(int display) {
    return displays[display];
}

GammaRamp LinearGammaRamp() {
    GammaRamp ramp;
    FillLinearRamp(&ramp);
    return ramp;
}

GammaRamp CurvedDisplayRamp() {
    GammaRamp ramp;
    for (int i = 0; i < 256; i++) {
        ramp.Red[i] = (WORD)(i * i);
        ramp.Green[i] = (WORD)(i * 200);
        ramp.Blue[i] = (WORD)(i * i / 2 + i * 128);
    }
    return ramp;
}

GammaRamp ReducedGammaRamp(int level) {
    GammaRamp ramp;
    BuildReducedGammaRamp(level, &ramp);
    return ramp;
}

bool SameRamp(const GammaRamp& a, const GammaRamp& b) {
    return memcmp(&a, &b, sizeof a) == 0;
}
