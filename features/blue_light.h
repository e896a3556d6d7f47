// Blue light reduction through the display gamma ramp.
#pragma once
#include <windows.h>

struct GammaRamp {
    WORD Red[256];
    WORD Green[256];
    WORD Blue[256];
};

// The display's ramp as read at process start (the linear ramp if the display
// would not give its ramp).
extern GammaRamp SavedGammaRamp;
// True after ApplyBlueLight, false after RestoreGamma.
extern bool BlueLightApplied;

// Every read and write of a device gamma ramp goes through these two pointers
// (GetDeviceGammaRamp and SetDeviceGammaRamp), so tests can see the ramps on a
// display that has no gamma support.
typedef BOOL(WINAPI* GammaRampFunction)(HDC dc, LPVOID ramp);
extern GammaRampFunction ReadDeviceGammaRamp;
extern GammaRampFunction WriteDeviceGammaRamp;

// The slider's range; stored levels outside it are pulled back into it.
const int LeastGreenReduction = -128;
const int MostGreenReduction = 128;

void SaveDisplayGamma();
void ApplyBlueLight(int level);
void RestoreGamma();
// 0 below 256, 1 missing or empty, 2 256 or more (usable), 3 key not readable.
int CheckGammaRangeSetting();

// The ramp ApplyBlueLight writes for a level: red linear, green scaled, no blue.
void BuildReducedGammaRamp(int level, GammaRamp* ramp);

// Unhandled-exception filter that puts the saved ramp back before the process
// dies, then lets the crash go on to the filter it replaced (if any).
LONG WINAPI RestoreGammaOnCrash(EXCEPTION_POINTERS* exception);
// The filter RestoreGammaOnCrash replaced; set where it is installed.
extern LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter;
