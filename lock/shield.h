// The touch shield: a nearly transparent topmost cover over each monitor that
// swallows taps and clicks, and the padlock above the primary monitor's cover
// that asks to unlock.
#pragma once
#include "cover_geometry.h"
#include "../win/owner.h"
#include "../win/png_image.h"
#include <windows.h>

// The cover hangs this far below the maximized height, over the taskbar (at
// 100 %; scaled to the primary monitor).
const int CoverExtraHeight = 30;
const BYTE CoverAlpha = 10;

void RegisterCoverClass(HINSTANCE instance);
// The padlock's window class. Its procedure is the main window's, which the
// program hands over here: a tap on the padlock is answered in every loop
// that dispatches messages, the modal ones included.
void RegisterUnlockImageClass(HINSTANCE instance, WNDPROC procedure);

class TouchShield {
  public:
    TouchShield();
    TouchShield(const TouchShield&) = delete;
    TouchShield& operator=(const TouchShield&) = delete;

    // The primary monitor's cover while the shield is up, else none.
    HWND CoverWindow() const { return cover; }
    // The padlock, owned by the primary cover.
    HWND UnlockImageWindow() const { return padlock; }
    // The covers of the monitors other than the primary one.
    int OtherCoverCount() const { return otherCount; }
    HWND OtherCover(int index) const { return others[index]; }
    // True while the padlock's bitmaps (the moon's too) and memory device
    // context are held.
    bool UnlockBitmapLoaded() const {
        return bitmap.Get() != nullptr || bitmapDC.Get() != nullptr || moonImage;
    }
    SIZE UnlockBitmapSize() const { return bitmapSize; }
    // Where the covers and the padlock go now, also while there are none.
    ShieldLayout Layout() const;

    // Makes one cover per monitor, owned by owner, and the padlock on the
    // primary one, with the edge swipes off; returns the padlock.
    HWND CreateCoverWindows(HWND owner, HINSTANCE instance);
    // Destroys every cover and the padlock and releases the padlock's bitmap
    // and memory device context.
    void DestroyCoverWindows();
    void PaintUnlockImage(HWND window);
    // Follows a change of the monitors, their resolution, orientation or
    // scale: moves the pointer corner and, while the covers exist, adds or
    // removes covers, fits each to its monitor and moves the padlock, drawn
    // anew when the primary monitor's scale changed.
    void FitCoverToDisplay();
    // The video limit: every cover turns opaque and comes to the top.
    void MakeCoversOpaque();
    // The child's cue that the screen goes dark soon: the padlock shows the
    // moon instead (the same size and place, and still the unlock target),
    // also on covers made later, until it is asked back.
    void ShowMoon(bool moon);
    bool MoonShown() const { return moonShown; }
    // Puts the covers back at the top of the topmost band, and with
    // takeForeground also in front; a cover or padlock that was minimised or
    // hidden is shown again. Every raise goes through here: while the unlock
    // word prompt or its "did not match" box is open, the covers stay where
    // they are, below them.
    void RaiseCover(bool takeForeground);

  private:
    // Turns the edge swipes off on every cover and the padlock, from Windows 7
    // SP1 on: when the covers are made, and when a display change adds one
    // for a new monitor.
    void DisableEdgeGesturesOnCovers();
    HWND CreateCover(const RECT& area);
    HWND CreateOtherCover(const RECT& area);
    void LoadUnlockBitmap();

    OwnedWindow others[MostMonitors - 1];
    int otherCount;
    // Made after the other covers, so that it and its padlock lie above them
    // wherever covers overlap (mirrored displays).
    OwnedWindow cover;
    OwnedWindow padlock;
    ImageBitmap bitmap;
    OwnedDC bitmapDC;
    ImageBitmap moonImage; // loaded while the moon is shown on a padlock
    bool moonShown;
    SIZE bitmapSize;
    int bitmapDpi; // the primary monitor's scale the padlock is drawn for
    POINT padlockAt;
    // True once the video limit made the covers opaque, until they go.
    bool opaque;
    HWND owner;
    HINSTANCE instance;
};

extern TouchShield Shield;

// The system colour index the covers are filled with.
int CoverColor();
// What a tap on the cover or the padlock does to activation (WM_MOUSEACTIVATE).
LRESULT ShieldMouseActivation();
// True for the system commands the cover and the padlock answer with nothing:
// minimise, maximise, move and size would take the shield away or aside.
bool IsRefusedShieldCommand(WPARAM command);
// Timer LockTimerId while locked with the shield: raises it without taking
// the foreground from the video.
void CALLBACK ReassertCover(HWND window, UINT message, UINT_PTR id, DWORD time);
LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
