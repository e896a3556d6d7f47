// PNG resources decoded through the Windows Imaging Component into DIB
// sections, and the artwork for a display's DPI.
#include "png_image.h"
#include <initguid.h> // defines the imaging GUIDs here: no import library needed
#include <wincodec.h>
#include <initializer_list>
#include <utility>
#include "com_apartment.h"
#include "../res/resource.h"
#include "dpi.h"
#include "gdi.h"

ImageBitmap::ImageBitmap(HBITMAP created, int pixelsWide, int pixelsHigh)
    : handle(created), width(created ? pixelsWide : 0), height(created ? pixelsHigh : 0) {}

ImageBitmap::~ImageBitmap() {
    if (handle)
        DeleteObject(handle);
}

ImageBitmap::ImageBitmap(ImageBitmap&& other) noexcept
    : handle(std::exchange(other.handle, nullptr)), width(std::exchange(other.width, 0)),
      height(std::exchange(other.height, 0)) {}

ImageBitmap& ImageBitmap::operator=(ImageBitmap&& other) noexcept {
    if (this != &other) {
        if (handle)
            DeleteObject(handle);
        handle = std::exchange(other.handle, nullptr);
        width = std::exchange(other.width, 0);
        height = std::exchange(other.height, 0);
    }
    return *this;
}

namespace {

// The imaging objects of one decode, released newest first, all before the
// apartment is left.
struct DecodeChain {
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    DecodeChain() = default;
    DecodeChain(const DecodeChain&) = delete;
    DecodeChain& operator=(const DecodeChain&) = delete;
    ~DecodeChain() {
        for (IUnknown* object :
             std::initializer_list<IUnknown*>{converter, frame, decoder, stream, factory})
            if (object)
                object->Release();
    }
};

// Larger than any picture the program has; keeps the row arithmetic in range.
const UINT LargestSide = 16384;

ImageBitmap CopyIntoDibSection(IWICBitmapSource* source, UINT width, UINT height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = (LONG)width;
    info.bmiHeader.biHeight = -(LONG)height; // top-down, the order WIC hands rows out in
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ImageBitmap image(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0),
                      (int)width, (int)height);
    const UINT stride = width * 4;
    if (!image || FAILED(source->CopyPixels(nullptr, stride, stride * height, (BYTE*)bits)))
        return ImageBitmap();
    return image;
}

ImageBitmap LoadBitmapResource(HMODULE module, int id) {
    HBITMAP bitmap =
        (HBITMAP)LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    BITMAP info = {};
    if (bitmap)
        GetObjectW(bitmap, sizeof info, &info);
    return ImageBitmap(bitmap, info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
}

struct ArtworkResources {
    int bitmapAt100; // 0: the picture is a PNG at every scale
    int pngBase;     // plus the scale in percent: the PNG resource's id
};

ArtworkResources ResourcesOf(Artwork picture) {
    switch (picture) {
    case Artwork::Splash:
        return {IDB_SPLASH, IDPNG_SPLASH};
    case Artwork::Padlock:
        return {IDB_PADLOCK, IDPNG_PADLOCK};
    case Artwork::Moon:
        break;
    }
    return {0, IDPNG_MOON};
}

ImageBitmap LoadAtScale(HMODULE module, ArtworkResources resources, int percent) {
    if (percent == 100 && resources.bitmapAt100)
        return LoadBitmapResource(module, resources.bitmapAt100);
    return DecodePngResource(module, resources.pngBase + percent);
}

} // namespace

ImageBitmap DecodePngResource(HMODULE module, int id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    BYTE* data = loaded ? (BYTE*)LockResource(loaded) : nullptr;
    DWORD size = found ? SizeofResource(module, found) : 0;
    if (!data || size == 0)
        return ImageBitmap();

    // The imaging component is COM: the calling thread needs an apartment.
    ComApartment apartment;
    if (!apartment.Usable())
        return ImageBitmap();
    DecodeChain wic;
    // The first factory, not the one CLSID_WICImagingFactory names in newer
    // SDKs when building for Windows 8 and later: that one is missing before
    // Windows 8 and on Windows 7 without its platform update.
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, (void**)&wic.factory);
    if (SUCCEEDED(result))
        result = wic.factory->CreateStream(&wic.stream);
    if (SUCCEEDED(result))
        result = wic.stream->InitializeFromMemory(data, size);
    if (SUCCEEDED(result))
        result = wic.factory->CreateDecoderFromStream(wic.stream, nullptr,
                                                      WICDecodeMetadataCacheOnDemand, &wic.decoder);
    if (SUCCEEDED(result))
        result = wic.decoder->GetFrame(0, &wic.frame);
    if (SUCCEEDED(result))
        result = wic.factory->CreateFormatConverter(&wic.converter);
    if (SUCCEEDED(result))
        result = wic.converter->Initialize(wic.frame, GUID_WICPixelFormat32bppBGRA,
                                           WICBitmapDitherTypeNone, nullptr, 0.0,
                                           WICBitmapPaletteTypeCustom);
    UINT width = 0, height = 0;
    if (SUCCEEDED(result))
        result = wic.converter->GetSize(&width, &height);
    if (FAILED(result) || width == 0 || height == 0 || width > LargestSide || height > LargestSide)
        return ImageBitmap();
    return CopyIntoDibSection(wic.converter, width, height);
}

int ArtworkScaleForDpi(int dpi) {
    const int steps = 4; // 125, 150, 175 and 200 % above 100 %
    if (dpi <= 96)
        return 100;
    // 24 dpi make a step of 25 %; adding half a step rounds to the nearer.
    int step = (dpi - 96 + 12) / 24;
    return 100 + 25 * (step < steps ? step : steps);
}

ImageBitmap LoadBitmapAtDpi(HMODULE module, int id, int dpi) {
    ImageBitmap original = LoadBitmapResource(module, id);
    if (!original)
        return original;
    const int width = ScaleToDpi(original.Width(), dpi),
              height = ScaleToDpi(original.Height(), dpi);
    WindowDC screen = BorrowWindowDC(nullptr);
    OwnedDC from(CreateCompatibleDC(screen)), to(CreateCompatibleDC(screen));
    ImageBitmap stretched(CreateCompatibleBitmap(screen, width, height), width, height);
    if (!from || !to || !stretched)
        return ImageBitmap();
    SelectedObject source(from, original.Get()), target(to, stretched.Get());
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr); // HALFTONE needs it set after the mode
    StretchBlt(to, 0, 0, width, height, from, 0, 0, original.Width(), original.Height(), SRCCOPY);
    return stretched;
}

SIZE ArtworkSize(Artwork picture, int dpi) {
    const SIZE at100 = picture == Artwork::Splash ? SIZE{531, 449} : SIZE{128, 128};
    const int percent = ArtworkScaleForDpi(dpi);
    return {(at100.cx * percent + 50) / 100, (at100.cy * percent + 50) / 100};
}

ImageBitmap LoadArtwork(HMODULE module, Artwork picture, int dpi) {
    ArtworkResources resources = ResourcesOf(picture);
    int percent = ArtworkScaleForDpi(dpi);
    ImageBitmap image = LoadAtScale(module, resources, percent);
    if (!image && percent != 100)
        image = LoadAtScale(module, resources, 100);
    return image;
}
