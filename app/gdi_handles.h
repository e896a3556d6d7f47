// Small non-copyable owners of GDI handles and borrowed device contexts, so
// that every way out of a function gives back what it took.
#pragma once
#include <windows.h>

// A window's device context (the whole screen's for no window), borrowed with
// GetDC and released for the same window.
class WindowDC {
  public:
    explicit WindowDC(HWND owner) : window(owner), dc(GetDC(owner)) {}
    ~WindowDC() {
        if (dc)
            ReleaseDC(window, dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc; }
    operator HDC() const { return dc; }

  private:
    HWND window;
    HDC dc;
};

// BeginPaint and EndPaint around one painting.
class PaintDC {
  public:
    explicit PaintDC(HWND owner) : window(owner), paint(), dc(BeginPaint(owner, &paint)) {}
    ~PaintDC() { EndPaint(window, &paint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc; }
    operator HDC() const { return dc; }

  private:
    HWND window;
    PAINTSTRUCT paint;
    HDC dc;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
  public:
    SelectedObject(HDC target, HGDIOBJ object)
        : dc(target), previous(object ? SelectObject(target, object) : nullptr) {}
    ~SelectedObject() {
        if (previous && previous != HGDI_ERROR)
            SelectObject(dc, previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc;
    HGDIOBJ previous;
};

// A font, bitmap or other GDI object this code created, deleted with it.
template <typename Handle> class OwnedGdiObject {
  public:
    explicit OwnedGdiObject(Handle created = nullptr) : handle(created) {}
    ~OwnedGdiObject() { Reset(nullptr); }
    OwnedGdiObject(const OwnedGdiObject&) = delete;
    OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;
    void Reset(Handle created) {
        if (handle)
            DeleteObject(handle);
        handle = created;
    }
    Handle Get() const { return handle; }
    operator Handle() const { return handle; }

  private:
    Handle handle;
};

typedef OwnedGdiObject<HFONT> OwnedFont;
typedef OwnedGdiObject<HBITMAP> OwnedBitmap;

// A memory device context this code created, deleted with it.
class OwnedMemoryDC {
  public:
    explicit OwnedMemoryDC(HDC created = nullptr) : handle(created) {}
    ~OwnedMemoryDC() { Reset(nullptr); }
    OwnedMemoryDC(const OwnedMemoryDC&) = delete;
    OwnedMemoryDC& operator=(const OwnedMemoryDC&) = delete;
    void Reset(HDC created) {
        if (handle)
            DeleteDC(handle);
        handle = created;
    }
    HDC Get() const { return handle; }
    operator HDC() const { return handle; }

  private:
    HDC handle;
};
