// What assistive technology reads from the program's windows, and the
// high-contrast setting they follow.
#pragma once
#include <windows.h>

// Names the window (its client area, as assistive technology sees it) without
// touching its title; a null name takes the annotation away again, which the
// window must have before it is destroyed. False where the system has no
// annotation service.
typedef bool (*AnnotateNameFunction)(HWND window, const wchar_t* name);
// Whether a high-contrast theme is on. With it on, the program's own windows
// draw in the system's colours instead of their artwork's.
typedef bool (*HighContrastQuery)();
// Set to the system's calls; a test may record or answer instead: Wine has the
// annotation service but does not implement it, and reports the high-contrast
// setting but cannot turn it on.
struct AccessibilityCalls {
    AnnotateNameFunction AnnotateName;
    HighContrastQuery HighContrastOn;
};
extern AccessibilityCalls Accessibility;

// True for the messages that tell a window the system's colours or the
// high-contrast setting changed, so that it draws itself again.
bool ColorsChanged(UINT message, WPARAM wParam);
