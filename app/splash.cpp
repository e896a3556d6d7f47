// Placeholder until the splash window lands: shows nothing.
#include "splash.h"

void ShowSplashStatus(HWND, const char*, int) {}
void CloseSplash() {}
