// Stands in for the displays and their gamma ramps, which the virtual test
// display lacks.
#pragma once
#include "features/blue_light.h"
#include <string>
#include <vector>

// Replaces the display list and the ramp calls with displays "\\.\DISPLAY1",
// "\\.\DISPLAY2", ... showing these ramps (one display for the first form).
// A write changes what the display shows when writeResult is TRUE; every
// write is kept either way.
void StartGammaRecording(const GammaRamp& displayRamp, BOOL writeResult = TRUE);
void StartGammaRecording(const std::vector<GammaRamp>& displayRamps, BOOL writeResult = TRUE);
void StopGammaRecording();
std::vector<GammaRamp>& WrittenGammaRamps();
// The device each of WrittenGammaRamps went to.
std::vector<std::string>& WrittenGammaDevices();
// How many times a display's ramp was read.
int& GammaRampReads();
// What a display shows now; setting it stands for the system putting a ramp back.
GammaRamp& ShownGammaRamp(int display);
GammaRamp LinearGammaRamp();
// A display ramp that is plainly not linear, so a linear red or a restored
// ramp can be told apart from it, yet rises to near full scale in every
// channel as a display's own does.
GammaRamp CurvedDisplayRamp();
// The ramp ApplyBlueLight writes for a level, as the product builds it; the
// ramp tests pin its entries with literal rows.
GammaRamp ReducedGammaRamp(int level);
bool SameRamp(const GammaRamp& a, const GammaRamp& b);
