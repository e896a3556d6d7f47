#include "bitmap_pixels.h"

BitmapPixels ReadBitmapPixels(HBITMAP bitmap) {
    BitmapPixels pixels;
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info))
        return pixels;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = -info.bmHeight; // top-down
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::vector<RGBQUAD> rows((size_t)info.bmWidth * info.bmHeight);
    HDC screen = GetDC(nullptr);
    int read = GetDIBits(screen, bitmap, 0, info.bmHeight, rows.data(), (BITMAPINFO*)&header,
                         DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (read != info.bmHeight)
        return pixels;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    for (const RGBQUAD& quad : rows)
        pixels.colors.push_back(RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue));
    return pixels;
}
