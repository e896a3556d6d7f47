// Reading the tray menu's blue light item and making test display ramps.
#pragma once
#include <windows.h>
#include <string>
#include "features/blue_light.h"
#include "support/gamma_recorder.h"

std::string BlueLightItemText();
bool BlueLightItemGrayed();
