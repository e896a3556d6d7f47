// Blue light reduction through the display gamma ramp.
#pragma once
#include <windows.h>

struct GammaRamp {
    WORD Red[256];
    WORD Green[256];
    WORD Blue[256];
};

// The display's ramp as read at process start.
extern GammaRamp SavedGammaRamp;
// True after ApplyBlueLight, false after RestoreGamma.
extern bool BlueLightApplied;

// Every read and write of a device gamma ramp goes through these two pointers
// (GetDeviceGammaRamp and SetDeviceGammaRamp), so tests can see the ramps on a
// display that has no gamma support.
typedef BOOL(WINAPI* GammaRampFunction)(HDC dc, LPVOID ramp);
extern GammaRampFunction ReadDeviceGammaRamp;
extern GammaRampFunction WriteDeviceGammaRamp;

void SaveDisplayGamma();
void ApplyBlueLight(int level);
void RestoreGamma();
// 0 below 256, 1 missing or empty, 2 256 or more (usable), 3 key not readable.
int CheckGammaRangeSetting();
