// Saves what the virtual display shows, for people to look at.
#pragma once
#include <windows.h>
#include <string>

// Writes the whole screen (or one rectangle of it) as a 24-bit BMP file.
bool SaveScreenshot(const std::string& path, const RECT* area = nullptr);
// Reads one pixel of the screen as it is now.
COLORREF ScreenPixel(int x, int y);
