// The eight texts of the string table, loaded once at start-up into buffers
// of their own.
#pragma once
#include <windows.h>

// Size of each buffer; LoadStringA keeps at most 99 characters.
const int ResourceTextSize = 100;

struct ResourceTexts {
    char AppTitle[ResourceTextSize];        // 103 "Morrowby"
    char MainClassName[ResourceTextSize];   // 109 "MORROWBY"
    char UnlockItemText[ResourceTextSize];  // 107
    char LockItemText[ResourceTextSize];    // 111
    char UnlockTipText[ResourceTextSize];   // 133
    char LockTipText[ResourceTextSize];     // 132
    char EnableBlueText[ResourceTextSize];  // 105
    char DisableBlueText[ResourceTextSize]; // 106
};
extern ResourceTexts Texts;

// Loads the eight texts into their buffers, in the fixed order.
void LoadResourceTexts(HINSTANCE instance);
