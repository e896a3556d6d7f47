// Inside the splash window: the object that owns it, the texts it draws and
// the font fits it keeps. Only splash.cpp and its tests include this.
#pragma once
#include "gdi_handles.h"
#include <windows.h>
#include <string>

// A point size and the height of one line at that size; -1 until computed.
struct FontFit {
    int pointSize;
    int lineHeight;
};

class CSplashScreen {
  public:
    explicit CSplashScreen(HWND parent);
    virtual ~CSplashScreen();
    CSplashScreen(const CSplashScreen&) = delete;
    CSplashScreen& operator=(const CSplashScreen&) = delete;

    HWND Window() const { return splashWindow; }
    HWND Parent() const { return parentWindow; }

    // Largest even point size (from 8 up; 6 when even 8 is too big) at which
    // every text fits maxWidth and one line fits maxHeight / count.
    static FontFit FitFontSize(HDC dc, const char* face, const char* const texts[], int count,
                               int maxWidth, int maxHeight);

  private:
    friend void ShowSplashStatus(HWND parent, const char* status, int closeDelay);
    friend LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    friend void ReportSplashError(CSplashScreen* splash, const char* format, ...);

    bool CreateSplashWindow(HWND parent);
    bool RegisterSplashClass(const char* className);
    void PaintSplash(HWND window);
    HFONT CreateSplashFont(HDC dc, int pointSize);
    void LoadMessageFontMetrics();
    void PumpSplashMessages();

    HWND parentWindow;
    HWND splashWindow;
    HINSTANCE moduleInstance;
    NONCLIENTMETRICSA messageFontMetrics;
    OwnedBitmap splashBitmap;
};

// Reads the product name, version line, legal notice and comment line from
// the program's own version record into the texts below.
void ReadVersionStrings();
// "Version " and the leading numbers of a ProductVersion text, e.g. "2.1.7".
std::string FormatVersionLine(const char* productVersion);

LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ReportSplashError(CSplashScreen* splash, const char* format, ...);

extern CSplashScreen* SplashInstance;
extern char* SplashStatusText;
extern int SplashCloseDelay;
extern std::string ProductNameText, VersionText, LegalNoticeText, CommentsText;
// Fitted once per process: the first paint decides, every later one reuses.
extern FontFit VersionBlockFit;
extern FontFit StatusLineFit;
