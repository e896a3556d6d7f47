// Device contexts borrowed or made for one drawing, and the scope guards of
// painting, so that every way out of a function gives back what it took.
#pragma once
#include "owner.h"
#include <windows.h>

// A window's device context (the whole screen's for no window), given back
// to the same window.
inline WindowDC BorrowWindowDC(HWND window) {
    return WindowDC(GetDC(window), ReleaseWindowDC{window});
}

// A device context of one display, made from its device name ("\\.\DISPLAY1";
// empty for the primary display). The DC of a window or of the whole screen
// reaches only the primary display, and some drivers refuse it on an extended
// desktop.
inline OwnedDC CreateDisplayDC(const char* device) {
    return OwnedDC(device[0] ? CreateDCA(device, device, nullptr, nullptr)
                             : CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
}

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
