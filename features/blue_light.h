// Blue light reduction through the gamma ramp of every display.
#pragma once
#include "gamma_ramp.h"
#include "gamma_range_check.h"

// Displays beyond this many keep their own ramp.
const int MaxGammaDisplays = 16;
// True after ApplyBlueLight, false after RestoreGamma.
extern bool BlueLightApplied;

// Every listing of the displays and every read and write of a display's ramp
// goes through these pointers (EnumDisplayDevicesA, and GetDeviceGammaRamp and
// SetDeviceGammaRamp on a device context of that display's own), so tests can
// stand in for displays that have no gamma support.
typedef BOOL(WINAPI* DisplayListFunction)(LPCSTR adapter, DWORD index, PDISPLAY_DEVICEA device,
                                          DWORD flags);
typedef BOOL(WINAPI* GammaRampFunction)(const char* device, GammaRamp* ramp);
struct DisplayGammaCalls {
    DisplayListFunction EnumerateDisplayDevices;
    GammaRampFunction ReadDeviceGammaRamp;
    GammaRampFunction WriteDeviceGammaRamp;
};
extern DisplayGammaCalls GammaCalls;

// While a reduced ramp is applied, a timer of the main window (GammaWatchTimerId)
// reads every display's ramp back and writes the reduced one again where
// Windows or a driver has put another ramp in its place.
const UINT GammaWatchInterval = 3000;
// The window that timer runs on: the main window once it exists, none again
// once it has gone.
void SetGammaWatchWindow(HWND window);

// The slider's range; stored levels outside it are pulled back into it.
const int LeastGreenReduction = -128;
const int MostGreenReduction = 128;

// Lists the displays and saves each one's own ramp; first puts back the ramps
// that a run which ended while a reduced ramp was applied left on record.
// Start-up calls it once this copy is the one that runs.
void SaveDisplayGamma();
void ApplyBlueLight(int level);
// Writes the saved ramps back, but only once this process has written a ramp
// of its own since it saved them; safe to call any number of times.
void RestoreGamma();
void CALLBACK WatchGammaTick(HWND window, UINT message, UINT_PTR id, DWORD time);
GammaRange CheckGammaRangeSetting();

// The ramp ApplyBlueLight writes for a level: red linear, green scaled, no blue.
void BuildReducedGammaRamp(int level, GammaRamp* ramp);
// True when the ramp read back from a display is not, within what drivers
// change by resampling, the ramp written to it.
bool GammaRampDrifted(const GammaRamp& written, const GammaRamp& seen);
