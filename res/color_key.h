// The artwork (the splash cloud, the padlock) paints its see-through pixels
// in this magenta; the windows that show it use it as their color key.
#pragma once
#include <windows.h>

const COLORREF ArtworkColorKey = RGB(255, 0, 255);
