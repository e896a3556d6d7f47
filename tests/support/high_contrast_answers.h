// What a test has the high-contrast seam (Accessibility.HighContrastOn) answer, put back
// when the test's scope ends however it ends.
#pragma once
#include "win/accessibility.h"

inline bool HighContrastTheme() {
    return true;
}
inline bool NoHighContrastTheme() {
    return false;
}

class HighContrastAnswer {
  public:
    explicit HighContrastAnswer(HighContrastQuery answer) : saved(Accessibility.HighContrastOn) {
        Accessibility.HighContrastOn = answer;
    }
    ~HighContrastAnswer() { Accessibility.HighContrastOn = saved; }
    HighContrastAnswer(const HighContrastAnswer&) = delete;
    HighContrastAnswer& operator=(const HighContrastAnswer&) = delete;

  private:
    HighContrastQuery saved;
};
