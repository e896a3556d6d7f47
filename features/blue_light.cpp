// Placeholder until blue light reduction lands: records state, writes nothing.
#include "blue_light.h"

static BOOL WINAPI CallGetDeviceGammaRamp(HDC dc, LPVOID ramp) {
    return GetDeviceGammaRamp(dc, ramp);
}
static BOOL WINAPI CallSetDeviceGammaRamp(HDC dc, LPVOID ramp) {
    return SetDeviceGammaRamp(dc, ramp);
}
GammaRampFunction ReadDeviceGammaRamp = CallGetDeviceGammaRamp;
GammaRampFunction WriteDeviceGammaRamp = CallSetDeviceGammaRamp;

GammaRamp SavedGammaRamp;
bool BlueLightApplied = false;

void SaveDisplayGamma() {}
void ApplyBlueLight(int) { BlueLightApplied = true; }
void RestoreGamma() { BlueLightApplied = false; }
int CheckGammaRangeSetting() { return 3; }
