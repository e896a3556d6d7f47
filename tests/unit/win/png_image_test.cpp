// The artwork for a display's DPI, decoded from the program's resources (this
// test executable carries them too), and what decoding leaves behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <thread>
#include <utility>
#include "support/bitmap_pixels.h"
#include "win/png_image.h"

namespace {

struct ScaleCase {
    int dpi;
    int percent;
};

TEST(ArtworkScale, NearestDrawnScaleForEachDpi) {
    const ScaleCase cases[] = {
        {96, 100},  {120, 125}, {144, 150}, {168, 175}, {192, 200}, // the scales Windows offers
        {0, 100},   {72, 100},  {107, 100},                         // below 100 % and just above
        {108, 125}, {131, 125}, {132, 150},                         // halfway goes up
        {216, 200}, {288, 200},                                     // 225 % and more
    };
    for (const ScaleCase& c : cases)
        EXPECT_EQ(ArtworkScaleForDpi(c.dpi), c.percent) << c.dpi << " dpi";
}

struct ArtworkCase {
    Artwork picture;
    int dpi;
    int width, height;
};

// Every picture comes at its size for the DPI, as reckoned, as a DIB section; the decoded
// PNGs are 32-bit, and the right way up: the padlock's shackle at the top.
TEST(Artwork, LoadsAtTheSizeDrawnForTheDpi) {
    const ArtworkCase cases[] = {
        {Artwork::Splash, 96, 531, 449},   {Artwork::Splash, 144, 797, 674},
        {Artwork::Splash, 288, 1062, 898}, {Artwork::Padlock, 96, 128, 128},
        {Artwork::Padlock, 120, 160, 160}, {Artwork::Padlock, 192, 256, 256},
        {Artwork::Moon, 96, 128, 128},     {Artwork::Moon, 168, 224, 224}};
    for (const ArtworkCase& c : cases) {
        ImageBitmap image = LoadArtwork(GetModuleHandleA(nullptr), c.picture, c.dpi);
        ASSERT_TRUE(image) << (int)c.picture << " at " << c.dpi;
        EXPECT_EQ(image.Width(), c.width) << (int)c.picture << " at " << c.dpi;
        EXPECT_EQ(image.Height(), c.height) << (int)c.picture << " at " << c.dpi;
        // The size the layout reckons with before anything is loaded.
        const SIZE reckoned = ArtworkSize(c.picture, c.dpi);
        EXPECT_TRUE(reckoned.cx == c.width && reckoned.cy == c.height) << c.dpi;
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectA(image.Get(), sizeof section, &section), (int)sizeof section);
        if (c.dpi != 96 || c.picture == Artwork::Moon) {
            EXPECT_EQ(section.dsBmih.biBitCount, 32) << (int)c.picture << " at " << c.dpi;
        }
        if (c.picture == Artwork::Padlock) {
            BitmapPixels pixels = ReadBitmapPixels(image.Get());
            EXPECT_EQ(pixels.At(c.width / 4, c.height / 20), RGB(255, 0, 255)) << c.dpi;
            EXPECT_NE(pixels.At(c.width / 4, c.height * 17 / 20), RGB(255, 0, 255)) << c.dpi;
        }
    }
}

// The bitmap goes with its last owner, once.
TEST(Artwork, TheLastOwnerDeletesTheBitmap) {
    ImageBitmap first = LoadArtwork(GetModuleHandleA(nullptr), Artwork::Moon, 144);
    HBITMAP handle = first.Get();
    ImageBitmap second = std::move(first);
    EXPECT_FALSE(first);
    first = ImageBitmap(); // the moved-from owner has nothing left to delete
    EXPECT_NE(GetObjectType(handle), 0u);
    second = std::move(first);
    EXPECT_EQ(GetObjectType(handle), 0u);
}

enum class Apartment { None, SingleThreaded, Multithreaded };

// Which apartment the calling thread is in, found by asking for a
// multithreaded one (and leaving it again when that made one).
Apartment CurrentApartment() {
    HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(result))
        CoUninitialize();
    if (result == RPC_E_CHANGED_MODE)
        return Apartment::SingleThreaded;
    return result == S_OK ? Apartment::None : Apartment::Multithreaded;
}

// Decoding works on any thread, and leaves it in the apartment it was in:
// none stays none (the program's threads would otherwise be left in COM),
// and one the caller made is neither left nor changed.
TEST(Artwork, DecodingLeavesTheThreadsApartmentAsItWas) {
    for (Apartment before :
         {Apartment::None, Apartment::SingleThreaded, Apartment::Multithreaded}) {
        bool decoded = false;
        Apartment after = Apartment::None;
        std::thread([&] {
            if (before != Apartment::None)
                CoInitializeEx(nullptr, before == Apartment::SingleThreaded
                                            ? COINIT_APARTMENTTHREADED
                                            : COINIT_MULTITHREADED);
            decoded = (bool)LoadArtwork(GetModuleHandleA(nullptr), Artwork::Padlock, 120);
            after = CurrentApartment();
            if (before != Apartment::None)
                CoUninitialize();
        }).join();
        EXPECT_TRUE(decoded) << (int)before;
        EXPECT_EQ(after, before);
    }
}

} // namespace
