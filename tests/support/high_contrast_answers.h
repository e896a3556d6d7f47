// What a test has the high-contrast seam (HighContrastOn) answer, put back
// when the test's scope ends however it ends.
#pragma once
#include "win/high_contrast.h"

inline bool HighContrastTheme() {
    return true;
}
inline bool NoHighContrastTheme() {
    return false;
}

class HighContrastAnswer {
  public:
    explicit HighContrastAnswer(HighContrastQuery answer) : saved(HighContrastOn) {
        HighContrastOn = answer;
    }
    ~HighContrastAnswer() { HighContrastOn = saved; }
    HighContrastAnswer(const HighContrastAnswer&) = delete;
    HighContrastAnswer& operator=(const HighContrastAnswer&) = delete;

  private:
    HighContrastQuery saved;
};
