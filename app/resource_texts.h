// The eight texts of the string table, loaded once at start-up into buffers
// of their own.
#pragma once
#include <windows.h>

// Size of each buffer in characters; LoadStringW keeps at most 99 of them.
const int ResourceTextSize = 100;

struct ResourceTexts {
    wchar_t AppTitle[ResourceTextSize];        // 103 "Morrowby"
    wchar_t MainClassName[ResourceTextSize];   // 109 "MORROWBY"
    wchar_t UnlockItemText[ResourceTextSize];  // 107
    wchar_t LockItemText[ResourceTextSize];    // 111
    wchar_t UnlockTipText[ResourceTextSize];   // 133
    wchar_t LockTipText[ResourceTextSize];     // 132
    wchar_t EnableBlueText[ResourceTextSize];  // 105
    wchar_t DisableBlueText[ResourceTextSize]; // 106
};
extern ResourceTexts Texts;

// Loads the eight texts into their buffers, in the fixed order.
void LoadResourceTexts(HINSTANCE instance);
