// The pixels of a bitmap, whatever its kind (device-dependent, or a DIB
// section of any depth), read top-down as colors.
#pragma once
#include <windows.h>
#include <vector>

struct BitmapPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colors; // row by row from the top
    COLORREF At(int x, int y) const { return colors[(size_t)y * width + x]; }
};

BitmapPixels ReadBitmapPixels(HBITMAP bitmap);
