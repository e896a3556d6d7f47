// Stands in for the display's gamma ramp, which the virtual test display lacks.
#pragma once
#include "features/blue_light.h"
#include <vector>

// Replaces the device ramp calls: reads return displayRamp, writes are kept.
void StartGammaRecording(const GammaRamp& displayRamp, BOOL writeResult = TRUE);
void StopGammaRecording();
std::vector<GammaRamp>& WrittenGammaRamps();
GammaRamp LinearGammaRamp();
// A display ramp that is plainly not linear, so a linear red or a restored
// ramp can be told apart from it.
GammaRamp CurvedDisplayRamp();
// The ramp ApplyBlueLight writes for a level, worked out independently.
GammaRamp ReducedGammaRamp(int level);
bool SameRamp(const GammaRamp& a, const GammaRamp& b);
