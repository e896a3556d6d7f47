// The user's high-contrast setting. With it on, the program's own windows
// draw in the system's colours instead of their artwork's.
#pragma once
#include <windows.h>

typedef bool (*HighContrastQuery)();
// Whether a high-contrast theme is on. Set to the system's setting; a test
// may answer instead (Wine reports the setting but cannot turn it on).
extern HighContrastQuery HighContrastOn;

// True for the messages that tell a window the system's colours or the
// high-contrast setting changed, so that it draws itself again.
bool ColorsChanged(UINT message, WPARAM wParam);
