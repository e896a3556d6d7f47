#include "high_contrast.h"

static bool ReadHighContrast() {
    HIGHCONTRASTW setting = {};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

// Constant initialisation: valid before any constructor runs.
HighContrastQuery HighContrastOn = ReadHighContrast;

bool ColorsChanged(UINT message, WPARAM wParam) {
    return message == WM_SYSCOLORCHANGE ||
           (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}
