// Blue light reduction through the gamma ramp of every display.
#pragma once
#include "gamma_ramp.h"

const int MaxGammaDisplays = 16;
// The displays and their own ramps as saved at process start (the linear ramp
// for a display that would not give its ramp). Plain arrays, not containers:
// they are filled during static initialisation.
extern DisplayGamma SavedDisplays[MaxGammaDisplays];
extern int SavedDisplayCount;
// True after ApplyBlueLight, false after RestoreGamma.
extern bool BlueLightApplied;

// Every listing of the displays and every read and write of a display's ramp
// goes through these pointers (EnumDisplayDevicesA, and GetDeviceGammaRamp and
// SetDeviceGammaRamp on a device context of that display's own), so tests can
// stand in for displays that have no gamma support.
typedef BOOL(WINAPI* DisplayListFunction)(LPCSTR adapter, DWORD index, PDISPLAY_DEVICEA device,
                                          DWORD flags);
typedef BOOL(WINAPI* GammaRampFunction)(const char* device, GammaRamp* ramp);
extern DisplayListFunction EnumerateDisplayDevices;
extern GammaRampFunction ReadDeviceGammaRamp;
extern GammaRampFunction WriteDeviceGammaRamp;

// While a reduced ramp is applied, this timer of the main window reads every
// display's ramp back and writes the reduced one again where Windows or a
// driver has put another ramp in its place.
const UINT_PTR GammaWatchTimerId = 339;
const UINT GammaWatchInterval = 3000;

// The slider's range; stored levels outside it are pulled back into it.
const int LeastGreenReduction = -128;
const int MostGreenReduction = 128;

// Lists the displays and saves each one's own ramp; first puts back the ramps
// that a run which ended while a reduced ramp was applied left on record.
void SaveDisplayGamma();
void ApplyBlueLight(int level);
void RestoreGamma();
void CALLBACK WatchGammaTick(HWND window, UINT message, UINT_PTR id, DWORD time);
// One of the GammaRange values of gamma_range_check.h.
int CheckGammaRangeSetting();

// The ramp ApplyBlueLight writes for a level: red linear, green scaled, no blue.
void BuildReducedGammaRamp(int level, GammaRamp* ramp);
// True when the ramp read back from a display is not, within what drivers
// change by resampling, the ramp written to it.
bool GammaRampDrifted(const GammaRamp& written, const GammaRamp& seen);

// Unhandled-exception filter that puts the saved ramps back before the process
// dies, then lets the crash go on to the filter it replaced (if any).
LONG WINAPI RestoreGammaOnCrash(EXCEPTION_POINTERS* exception);
// The filter RestoreGammaOnCrash replaced; set where it is installed.
extern LPTOP_LEVEL_EXCEPTION_FILTER PreviousCrashFilter;
