// What CheckGammaRangeSetting reports about the machine-wide gamma range
// setting (GdiIcmGammaRange), without which the system refuses a reduced ramp.
#pragma once

const int GammaRangeBelow256 = 0;
const int GammaRangeMissing = 1; // missing or empty
const int GammaRangeUsable = 2;  // 256 or more
const int GammaRangeUnreadable = 3;
