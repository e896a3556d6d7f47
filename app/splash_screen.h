// Inside the splash window: the object that owns it, the texts it draws and
// the font fits it keeps. Only splash.cpp and its tests include this.
#pragma once
#include "../win/owner.h"
#include "../win/png_image.h"
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

// A point size and the height of one line at that size; -1 until computed.
struct FontFit {
    int pointSize;
    int lineHeight;
};

// The texts of the program's own version record that the splash shows.
struct VersionStrings {
    std::wstring ProductName;
    std::wstring Version; // "Version " and the leading numbers of ProductVersion
    std::wstring LegalNotice;
    std::wstring Comments;
};

class CSplashScreen {
  public:
    explicit CSplashScreen(HWND parent);
    ~CSplashScreen();
    CSplashScreen(const CSplashScreen&) = delete;
    CSplashScreen& operator=(const CSplashScreen&) = delete;

    HWND Window() const { return window; }
    HWND Parent() const { return parentWindow; }
    const std::wstring& StatusText() const { return statusText; }

    bool CreateSplashWindow(HWND parent);
    // The primary monitor's scale changed: the artwork for the new one, the
    // window centred again at its new size, the texts fitted anew.
    void FitToDpi(int newDpi);
    void SetStatusText(const wchar_t* status) { statusText = status ? status : L""; }
    void PaintSplash(HWND target);
    void PumpSplashMessages();
    // The window is going by itself (its owner went): it is no longer this
    // object's to destroy.
    void ForgetWindow() { window.Release(); }

    // Largest even point size (from 8 up; 6 when even 8 is too big) at which
    // every text fits maxWidth and one line fits maxHeight / count. Points
    // become pixels at dpi, or at the device context's own DPI when it is 0.
    static FontFit FitFontSize(HDC dc, const wchar_t* face, const wchar_t* const texts[], int count,
                               int maxWidth, int maxHeight, int dpi = 0);
    // The status line's fit: the largest size at which each of the lines,
    // standing alone, fits as FitFontSize fits one text.
    static FontFit FitStatusLines(HDC dc, const std::vector<std::wstring>& lines, int maxWidth,
                                  int maxHeight, int dpi = 0);
    // Fitted once per process and display scale: the first paint decides,
    // every later one at the same scale reuses.
    static FontFit VersionBlockFit;
    static FontFit StatusLineFit;
    static int FittedDpi;

  private:
    bool RegisterSplashClass();
    HFONT CreateSplashFont(int pointSize);
    // A length in the artwork at 100 %, in the artwork as drawn now.
    int Scaled(int length) const;
    // Centred on the primary screen at the artwork's size.
    RECT CentredPlace() const;
    void LoadMessageFontMetrics();
    void ReportSplashError(UINT format, int error);

    HWND parentWindow;
    HINSTANCE moduleInstance;
    NONCLIENTMETRICSW messageFontMetrics;
    VersionStrings version;
    std::wstring statusText;
    int dpi; // the primary monitor's, which the splash is drawn for
    ImageBitmap splashBitmap;
    // Last, so that it goes first: the window is destroyed before its bitmap.
    OwnedWindow window;
};

// The splash while it exists, else none.
extern std::unique_ptr<CSplashScreen> SplashInstance;

// Every status line the program shows on the splash, each text read through
// load (the string table in the user's language): start-up's lines, the note
// that another copy runs, the settings' failure and About's web address.
std::vector<std::wstring> SplashStatusLines(std::wstring (*load)(UINT id));
// Reads the product name, version line, legal notice and comment line from
// the program's own version record.
VersionStrings ReadVersionStrings();
// "Version " and the leading numbers of a ProductVersion text, e.g. "2.1.7".
std::wstring FormatVersionLine(const wchar_t* productVersion);

LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
