// Blue light reduction: the display's own ramp is kept from process start and
// written back on every way out; the reduced ramp switches blue off and scales
// green down.
#include "blue_light.h"
#include "../app/gdi_handles.h"
#include "../lock/accessibility_shortcuts.h"
#include "../settings/registry.h"
#include <cstdlib>
#include <string>

static void FillLinearRamp(GammaRamp* ramp);
static int ClampLevel(int level);
static long long ParseGammaRange(const std::string& text);

static BOOL WINAPI CallGetDeviceGammaRamp(HDC dc, LPVOID ramp) {
    return GetDeviceGammaRamp(dc, ramp);
}
static BOOL WINAPI CallSetDeviceGammaRamp(HDC dc, LPVOID ramp) {
    return SetDeviceGammaRamp(dc, ramp);
}
// Plain function addresses: constant initialisation, so these are valid before
// any dynamic initialiser (the one that saves the ramp) runs.
GammaRampFunction ReadDeviceGammaRamp = CallGetDeviceGammaRamp;
GammaRampFunction WriteDeviceGammaRamp = CallSetDeviceGammaRamp;

GammaRamp SavedGammaRamp;
bool BlueLightApplied = false;
LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter = nullptr;

static const char* const IcmKeyPath = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ICM";
static const char* const GammaRangeValue = "GdiICMGammaRange";

void SaveDisplayGamma() {
    WindowDC screen(nullptr);
    // A display that will not give its ramp has nothing better to go back to
    // than the identity; writing back an unread buffer would tint the screen.
    if (!screen.Get() || !ReadDeviceGammaRamp(screen.Get(), &SavedGammaRamp))
        FillLinearRamp(&SavedGammaRamp);
}

void ApplyBlueLight(int level) {
    POINT pointer = {};
    GetCursorPos(&pointer);
    WindowDC dc(WindowFromPoint(pointer));
    GammaRamp ramp;
    BuildReducedGammaRamp(level, &ramp);
    // Refused without "GdiICMGammaRange", or with no gamma support: the screen
    // simply keeps its ramp.
    WriteDeviceGammaRamp(dc.Get(), &ramp);
    BlueLightApplied = true;
}

void RestoreGamma() {
    WindowDC screen(nullptr);
    WriteDeviceGammaRamp(screen.Get(), &SavedGammaRamp);
    BlueLightApplied = false;
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

int CheckGammaRangeSetting() {
    CRegistry registry(false);
    if (!registry.Open(IcmKeyPath, HKEY_LOCAL_MACHINE, KEY_READ, false)) {
        registry.Close();
        return 3;
    }
    std::string text;
    if (CRegEntry* entry = registry.Entry(GammaRangeValue)) {
        const char* value = entry->GetText();
        if (value)
            text = value;
    }
    registry.Close();
    if (text.empty())
        return 1;
    return ParseGammaRange(text) >= 256 ? 2 : 0;
}

LONG WINAPI RestoreGammaOnCrash(EXCEPTION_POINTERS* exception) {
    RestoreGamma();
    RestoreAccessibilityShortcuts(); // the lock switches them off with the keyboard
    if (PreviousCrashFilter && PreviousCrashFilter != RestoreGammaOnCrash)
        return PreviousCrashFilter(exception);
    return EXCEPTION_CONTINUE_SEARCH;
}

static void FillLinearRamp(GammaRamp* ramp) {
    for (int i = 0; i < 256; i++)
        ramp->Red[i] = ramp->Green[i] = ramp->Blue[i] = (WORD)(i * 256);
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
