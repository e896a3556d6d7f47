// Blue light reduction: every display's own ramp is kept from process start
// and written back on every way out; the reduced ramp switches blue off and
// scales green down.
#include "blue_light.h"
#include "gamma_record.h"
#include "../res/timer_ids.h"
#include "../win/gdi.h"
#include "../win/registry.h"
#include <cstdlib>
#include <cstring>
#include <string>

static void ListDisplays();
static void WriteOwnRamps();
static int ClampLevel(int level);
static long long ParseGammaRange(const std::string& text);

static BOOL WINAPI CallEnumDisplayDevices(LPCSTR adapter, DWORD index, PDISPLAY_DEVICEA device,
                                          DWORD flags) {
    return EnumDisplayDevicesA(adapter, index, device, flags);
}
static BOOL WINAPI CallGetDeviceGammaRamp(const char* device, GammaRamp* ramp) {
    OwnedDC display = CreateDisplayDC(device);
    return display.Get() && GetDeviceGammaRamp(display.Get(), ramp);
}
static BOOL WINAPI CallSetDeviceGammaRamp(const char* device, GammaRamp* ramp) {
    OwnedDC display = CreateDisplayDC(device);
    return display.Get() && SetDeviceGammaRamp(display.Get(), ramp);
}
// Plain function addresses: constant initialisation, so these are valid before
// any dynamic initialiser (the one that saves the ramps) runs.
DisplayGammaCalls GammaCalls = {CallEnumDisplayDevices, CallGetDeviceGammaRamp,
                                CallSetDeviceGammaRamp};

bool BlueLightApplied = false;

// The displays and their own ramps as saved at process start (the linear ramp
// for a display that would not give its ramp). Plain arrays, not containers:
// they are filled during static initialisation.
static DisplayGamma SavedDisplays[MaxGammaDisplays];
static int SavedDisplayCount = 0;
// The window whose timer watches the reduced ramp; none before the main
// window exists and after it has gone.
static HWND WatchWindow = nullptr;

// The reduced ramp last written, which the watch timer keeps on the displays.
static GammaRamp AppliedRamp;
// True while this process has the displays' own ramps on record.
static bool RecordKept = false;
// True once this process has written a ramp to the displays. Until then every
// restore writes nothing: what the displays show is not this process's doing,
// and may be another copy's tint that has gone since it was read.
static bool RampWritten = false;

// Drivers hand back a written ramp resampled to their own precision; Xorg's
// differ by well under 1 %. A ramp put back by the system differs by far more:
// the reduced ramp has no blue at all.
static const int GammaDriftTolerance = 1024;

static const char* const IcmKeyPath = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ICM";
static const char* const GammaRangeValue = "GdiICMGammaRange";

void SaveDisplayGamma() {
    ListDisplays();
    RampWritten = false;
    // A record left behind means the last run was ended while a reduced ramp
    // was applied: what the displays show now may be that tint.
    if (TakeAbandonedGammaRecord(SavedDisplays, SavedDisplayCount)) {
        RecordKept = false;
        WriteOwnRamps();
        return;
    }
    // A display that will not give its ramp has nothing better to go back to
    // than the identity; writing back an unread buffer would tint the screen.
    for (int i = 0; i < SavedDisplayCount; i++)
        if (!GammaCalls.ReadDeviceGammaRamp(SavedDisplays[i].Device, &SavedDisplays[i].Own))
            FillLinearRamp(&SavedDisplays[i].Own);
}

void ApplyBlueLight(int level) {
    BuildReducedGammaRamp(level, &AppliedRamp);
    // On record before the first reduced ramp is written, so that no moment
    // exists where a tint is on and its undoing is known to this process only.
    if (!RecordKept)
        RecordKept = KeepGammaRecord(SavedDisplays, SavedDisplayCount);
    // Refused without "GdiICMGammaRange", or with no gamma support: that
    // display simply keeps its ramp.
    RampWritten = true;
    for (int i = 0; i < SavedDisplayCount; i++)
        GammaCalls.WriteDeviceGammaRamp(SavedDisplays[i].Device, &AppliedRamp);
    BlueLightApplied = true;
    if (WatchWindow)
        SetTimer(WatchWindow, GammaWatchTimerId, GammaWatchInterval, WatchGammaTick);
}

void SetGammaWatchWindow(HWND window) {
    WatchWindow = window;
}

void RestoreGamma() {
    if (WatchWindow)
        KillTimer(WatchWindow, GammaWatchTimerId);
    if (RampWritten)
        WriteOwnRamps();
    if (RecordKept) {
        RemoveGammaRecord();
        RecordKept = false;
    }
    BlueLightApplied = false;
}

// Notifications, some Settings pages, monitors waking and full-screen games
// put a ramp back behind the program's back.
void CALLBACK WatchGammaTick(HWND window, UINT, UINT_PTR, DWORD) {
    if (!BlueLightApplied) {
        KillTimer(window, GammaWatchTimerId);
        return;
    }
    for (int i = 0; i < SavedDisplayCount; i++) {
        GammaRamp seen;
        if (GammaCalls.ReadDeviceGammaRamp(SavedDisplays[i].Device, &seen) &&
            GammaRampDrifted(AppliedRamp, seen))
            GammaCalls.WriteDeviceGammaRamp(SavedDisplays[i].Device, &AppliedRamp);
    }
}

bool GammaRampDrifted(const GammaRamp& written, const GammaRamp& seen) {
    const WORD* want = &written.Red[0];
    const WORD* got = &seen.Red[0];
    for (int i = 0; i < 3 * 256; i++)
        if (abs((int)want[i] - (int)got[i]) > GammaDriftTolerance)
            return true;
    return false;
}

void BuildReducedGammaRamp(int level, GammaRamp* ramp) {
    // 16-bit arithmetic on purpose: at level -128 the factor is 256 and
    // green[255] is 65280, exactly the linear ramp's top entry.
    WORD factor = (WORD)(128 - ClampLevel(level));
    for (int i = 0; i < 256; i++) {
        ramp->Red[i] = (WORD)(i * 256);
        ramp->Green[i] = (WORD)(factor * i);
        ramp->Blue[i] = 0;
    }
}

GammaRange CheckGammaRangeSetting() {
    CRegistry registry(false);
    if (!registry.Open(IcmKeyPath, HKEY_LOCAL_MACHINE, KEY_READ, false))
        return GammaRange::Unreadable;
    std::string text;
    if (CRegEntry* entry = registry.Entry(GammaRangeValue)) {
        const char* value = entry->GetText();
        if (value)
            text = value;
    }
    if (text.empty())
        return GammaRange::Missing;
    return ParseGammaRange(text) >= 256 ? GammaRange::Usable : GammaRange::Below256;
}

static void WriteOwnRamps() {
    RampWritten = true;
    for (int i = 0; i < SavedDisplayCount; i++)
        GammaCalls.WriteDeviceGammaRamp(SavedDisplays[i].Device, &SavedDisplays[i].Own);
}

// Only displays attached to the desktop show anything; mirroring drivers
// copy another display.
static void ListDisplays() {
    SavedDisplayCount = 0;
    DISPLAY_DEVICEA device;
    device.cb = sizeof device;
    for (DWORD index = 0; SavedDisplayCount < MaxGammaDisplays &&
                          GammaCalls.EnumerateDisplayDevices(nullptr, index, &device, 0);
         index++) {
        if ((device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) &&
            !(device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER)) {
            DisplayGamma& display = SavedDisplays[SavedDisplayCount++];
            static_assert(sizeof display.Device == sizeof device.DeviceName, "device name size");
            memcpy(display.Device, device.DeviceName, sizeof display.Device);
            display.Device[sizeof display.Device - 1] = '\0';
        }
        device.cb = sizeof device;
    }
    // With no list at all, the primary display is still reached.
    if (SavedDisplayCount == 0)
        SavedDisplays[SavedDisplayCount++].Device[0] = '\0';
}

// A level outside the slider's range can only come from a hand-edited value;
// the 16-bit factor would wrap and give a ramp that is not monotonic.
static int ClampLevel(int level) {
    if (level < LeastGreenReduction)
        return LeastGreenReduction;
    if (level > MostGreenReduction)
        return MostGreenReduction;
    return level;
}

// Leading blanks skipped, stops at the first non-digit; text with no number
// reads as 0, i.e. below the needed range.
static long long ParseGammaRange(const std::string& text) {
    return strtoll(text.c_str(), nullptr, 10);
}
