// What a test has the high-contrast seam (HighContrastOn) answer.
#pragma once

inline bool HighContrastTheme() {
    return true;
}
inline bool NoHighContrastTheme() {
    return false;
}
