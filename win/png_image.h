// Pictures from the program's PNG resources, decoded through the Windows
// Imaging Component (part of Windows since Vista), and the choice of artwork
// for a display's DPI.
#pragma once
#include <windows.h>

// A bitmap this code made, with its size in pixels; deleted with it. It can
// be moved, not copied: one owner deletes it, once.
class ImageBitmap {
  public:
    ImageBitmap() = default;
    ImageBitmap(HBITMAP created, int pixelsWide, int pixelsHigh);
    ~ImageBitmap();
    ImageBitmap(ImageBitmap&& other) noexcept;
    ImageBitmap& operator=(ImageBitmap&& other) noexcept;
    ImageBitmap(const ImageBitmap&) = delete;
    ImageBitmap& operator=(const ImageBitmap&) = delete;

    HBITMAP Get() const { return handle; }
    int Width() const { return width; }
    int Height() const { return height; }
    explicit operator bool() const { return handle != nullptr; }

  private:
    HBITMAP handle = nullptr;
    int width = 0;
    int height = 0;
};

// The pictures drawn for each display scale by scripts/make_artwork.py. Each
// is keyed: RGB(255, 0, 255) is meant to be see-through.
enum class Artwork {
    Splash,  // 531 x 449 at 100 %
    Padlock, // 128 x 128 at 100 %
    Moon,    // the padlock's size; stands in for it in the last minute before dark
};

// PNG resource `id` (resource type "PNG") of `module` as a 32-bit top-down
// DIB section; empty when the resource is missing or does not decode.
ImageBitmap DecodePngResource(HMODULE module, int id);

// The scale in percent of the artwork to show at `dpi`: 100, 125, 150, 175
// or 200. Between two scales the nearer one, the larger at halfway (crisp
// rather than small); below 96 dpi 100 and above 192 dpi 200, as no smaller
// or larger artwork is drawn.
int ArtworkScaleForDpi(int dpi);

// The size in pixels of `picture` as drawn for `dpi`: its size at 100 % scaled
// to the artwork's scale, halves rounded up, as the artwork is drawn.
SIZE ArtworkSize(Artwork picture, int dpi);

// Bitmap resource `id`, drawn for 100 %, stretched smoothly (HALFTONE) to its
// size at `dpi`, as a bitmap of the screen's format; empty when the resource
// is missing.
ImageBitmap LoadBitmapAtDpi(HMODULE module, int id, int dpi);

// `picture` drawn for `dpi`: the bitmap resource at 100 % where there is one,
// a PNG resource otherwise. When a PNG does not decode (no imaging component)
// the picture at 100 % instead: too small, but there. Empty only when the
// picture cannot be loaded at all.
ImageBitmap LoadArtwork(HMODULE module, Artwork picture, int dpi);
