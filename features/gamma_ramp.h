// A display's gamma ramp, and the displays the ramps go to.
#pragma once
#include <windows.h>

struct GammaRamp {
    WORD Red[256];
    WORD Green[256];
    WORD Blue[256];
};

// One display attached to the desktop: its device name ("\\.\DISPLAY1"; empty
// for the primary display when none could be listed) and its own ramp.
struct DisplayGamma {
    char Device[32];
    GammaRamp Own;
};

// The identity: what a display shows with no ramp of its own.
inline void FillLinearRamp(GammaRamp* ramp) {
    for (int i = 0; i < 256; i++)
        ramp->Red[i] = ramp->Green[i] = ramp->Blue[i] = (WORD)(i * 256);
}
