// What the splash looks like on the screen: the cloud in lilac, and the
// magenta around it see-through. The screenshot is kept for people to look at.
#include "splash_test_support.h"
#include "app/splash.h"
#include "app/splash_screen.h"
#include "res/resource.h"
#include "support/morrowby_process.h"
#include "support/screenshot.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <vector>

static const COLORREF Magenta = RGB(255, 0, 255);
static const COLORREF Lilac = RGB(211, 190, 253);
static const COLORREF Backdrop = RGB(0, 160, 80);

// A 24-bit image read top-down into COLORREFs.
struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

static Image FromBgrRows(const BYTE* rows, int width, int height, bool bottomUp) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.resize((size_t)width * height);
    int stride = ((width * 3) + 3) & ~3;
    for (int y = 0; y < height; y++) {
        const BYTE* row = rows + (size_t)(bottomUp ? height - 1 - y : y) * stride;
        for (int x = 0; x < width; x++)
            image.pixels[(size_t)y * width + x] = RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    }
    return image;
}

static Image ReadBmpFile(const std::string& path) {
    std::vector<BYTE> bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        BYTE buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + got);
        fclose(file);
    }
    if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))
        return Image();
    const BITMAPFILEHEADER* file = (const BITMAPFILEHEADER*)bytes.data();
    const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)(bytes.data() + sizeof *file);
    if (header->biBitCount != 24)
        return Image();
    int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    return FromBgrRows(bytes.data() + file->bfOffBits, header->biWidth, height,
                       header->biHeight > 0);
}

static Image ReadArtwork() {
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SPLASH));
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::vector<BYTE> rows((size_t)(((info.bmWidth * 3) + 3) & ~3) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, info.bmHeight, rows.data(), (BITMAPINFO*)&header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return FromBgrRows(rows.data(), info.bmWidth, info.bmHeight, true);
}

static bool Near(COLORREF a, COLORREF b) {
    return abs(GetRValue(a) - GetRValue(b)) <= 8 && abs(GetGValue(a) - GetGValue(b)) <= 8 &&
           abs(GetBValue(a) - GetBValue(b)) <= 8;
}

// Text is drawn in these boxes (a few pixels of margin for antialiasing).
static bool InTextBox(int x, int y, int width) {
    const int h = CSplashScreen::VersionBlockFit.lineHeight;
    RECT boxes[] = {{200, 50, width - 20, 90}, {180, 89, width, 3 * h + 99}, {0, 208, width, 235}};
    for (const RECT& box : boxes)
        if (x >= box.left - 3 && x < box.right + 3 && y >= box.top - 3 && y < box.bottom + 3)
            return true;
    return false;
}

TEST(SplashScreenshot, TheCloudShowsAndTheMagentaIsSeeThrough) {
    CloseSplashAndSettle();
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HWND backdrop = CreateBackdropWindow(Backdrop, screen);
    ShowSplashStatus(nullptr, L"Starting application...", 0);
    HWND splash = FindOwnSplash();
    ASSERT_TRUE(splash);
    PumpMessagesFor(500);
    RECT rect;
    GetWindowRect(splash, &rect);
    std::string path = ArtifactPath("splash.bmp");
    ASSERT_TRUE(SaveScreenshot(path, &rect));
    CloseSplashAndSettle();
    DestroyWindow(backdrop);

    Image shot = ReadBmpFile(path);
    Image art = ReadArtwork();
    ASSERT_EQ(art.width, 531);
    ASSERT_EQ(art.height, 449);
    ASSERT_EQ(shot.width, art.width);
    ASSERT_EQ(shot.height, art.height);

    int keyed = 0, cloud = 0, keyedShowingBackdrop = 0, cloudShowingLilac = 0;
    for (int y = 0; y < art.height; y += 5)
        for (int x = 0; x < art.width; x += 5) {
            COLORREF seen = shot.At(x, y);
            if (art.At(x, y) == Magenta) {
                keyed++;
                EXPECT_NE(seen, Magenta) << "at " << x << "," << y;
                keyedShowingBackdrop += Near(seen, Backdrop);
            } else if (art.At(x, y) == Lilac && !InTextBox(x, y, art.width)) {
                cloud++;
                cloudShowingLilac += Near(seen, Lilac);
            }
        }
    ASSERT_GT(keyed, 100);
    ASSERT_GT(cloud, 1000);
    EXPECT_EQ(keyedShowingBackdrop, keyed);
    EXPECT_EQ(cloudShowingLilac, cloud);
}
