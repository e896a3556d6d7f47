// What CheckGammaRangeSetting reports about the machine-wide gamma range
// setting (GdiIcmGammaRange), without which the system refuses a reduced ramp.
#pragma once

enum class GammaRange {
    Below256 = 0,
    Missing = 1, // missing or empty
    Usable = 2,  // 256 or more
    Unreadable = 3,
};
