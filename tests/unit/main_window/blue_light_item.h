// Reading the tray menu's blue light item and making test display ramps.
#pragma once
#include <windows.h>
#include <string>
#include "features/blue_light.h"

std::string BlueLightItemText();
bool BlueLightItemGrayed();
// A display ramp that is plainly not linear, so a restore is easy to tell.
GammaRamp CurvedDisplayRamp();
