// The shaped splash window: the artwork, the product name, the version block
// from the program's own version record, and one status line the caller sets.
#include "splash.h"
#include "splash_screen.h"
#include "../res/color_key.h"
#include "../res/resource.h"
#include "../res/timer_ids.h"
#include "../res/version.h"
#include "../win/dpi.h"
#include "../win/gdi.h"
#include "../win/os_version.h"
#include "../win/accessibility.h"
#include "../win/string_table.h"
#include <cstddef>
#include <cwchar>
#include <vector>

// Contents:
//   ShowSplashStatus, CloseSplash      what the rest of the program calls
//   CSplashScreen                      construction, window, painting, fonts
//   ReadVersionStrings, FormatVersionLine
//   SplashWndProc

std::unique_ptr<CSplashScreen> SplashInstance;
FontFit CSplashScreen::VersionBlockFit = {-1, -1};
FontFit CSplashScreen::StatusLineFit = {-1, -1};
int CSplashScreen::FittedDpi = 0;

static ATOM SplashClassAtom = 0;

static const char* const SplashClassName = "SplashScreen";
static const COLORREF SplashTextColor = RGB(64, 64, 64);
static const UINT CentredLine = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
// Fonts grow until a text no longer fits; the font's own line height grows
// with it, so the search ends even when every text is empty. The cap only
// guards against a font mapper that ignores the size asked for.
static const int LargestFittedPointSize = 400;

static int PointSizeToHeight(int dpi, int pointSize);
static void MeasureTexts(HDC dc, const wchar_t* face, int pointHeight, const wchar_t* const texts[],
                         int count, int* widest, int* lineHeight);
static bool QueryVersionText(std::vector<BYTE>& record, const wchar_t* name, std::wstring* text);

void ShowSplashStatus(HWND parent, const wchar_t* status, int closeDelay) {
    if (!SplashInstance) {
        SplashInstance.reset(new CSplashScreen(parent));
        if (!SplashInstance->CreateSplashWindow(parent)) {
            SplashInstance.reset();
            return;
        }
    }
    SplashInstance->SetStatusText(status);
    HWND window = SplashInstance->Window();
    if (parent)
        UpdateWindow(parent);
    if (closeDelay != 0)
        SetTimer(window, SplashCloseTimerId, (UINT)closeDelay, nullptr);

    SplashInstance->PaintSplash(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    InvalidateRect(window, nullptr, FALSE);
    if (SplashInstance)
        SplashInstance->PumpSplashMessages();
}

void CloseSplash() {
    if (!SplashInstance)
        return;
    HWND parent = SplashInstance->Parent();
    SplashInstance.reset(); // the window goes with it
    if (parent && IsWindow(parent))
        UpdateWindow(parent);
}

CSplashScreen::CSplashScreen(HWND parent)
    : parentWindow(parent), moduleInstance(nullptr), messageFontMetrics(),
      version(ReadVersionStrings()), statusText(), dpi(DefaultDpi), splashBitmap(), window() {
    LoadMessageFontMetrics();
}

CSplashScreen::~CSplashScreen() = default;

// Before Vista the structure ended before iPaddedBorderWidth, and the older
// systems refuse the longer size.
void CSplashScreen::LoadMessageFontMetrics() {
    messageFontMetrics = NONCLIENTMETRICSW();
    messageFontMetrics.cbSize = IsOsVersionAtLeast(6, 0, 0)
                                    ? sizeof(NONCLIENTMETRICSW)
                                    : offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, messageFontMetrics.cbSize, &messageFontMetrics,
                          0);
}

bool CSplashScreen::RegisterSplashClass() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SplashWndProc;
    windowClass.hInstance = moduleInstance;
    windowClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = SplashClassName;
    SplashClassAtom = RegisterClassExA(&windowClass);
    if (!SplashClassAtom) {
        ReportSplashError(IDS_REGISTER_CLASS_FAILED, (int)GetLastError());
        return false;
    }
    return true;
}

// Centred on the primary screen (the desktop window's rectangle), in the
// artwork drawn for that screen's scale.
bool CSplashScreen::CreateSplashWindow(HWND parent) {
    moduleInstance = GetModuleHandleA(nullptr);
    dpi = PrimaryMonitorDpi();
    splashBitmap = LoadArtwork(moduleInstance, Artwork::Splash, dpi);
    if (!SplashClassAtom && !RegisterSplashClass())
        return false;

    const RECT place = CentredPlace();
    window.Reset(CreateWindowExA(WS_EX_TOOLWINDOW, SplashClassName, "", WS_POPUP, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top,
                                 parent, nullptr, moduleInstance, this));
    if (!window) {
        ReportSplashError(IDS_CREATE_WINDOW_FAILED, (int)GetLastError());
        return false;
    }
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    // The artwork's see-through pixels give the window the cloud's shape.
    SetLayeredWindowAttributes(window, ArtworkColorKey, 0, LWA_COLORKEY);
    // Start-up has no window of its own in front yet: keep the splash above
    // everything. Shown for About it stays with its owner instead.
    if (!parent)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

RECT CSplashScreen::CentredPlace() const {
    const int width = splashBitmap.Width(), height = splashBitmap.Height();
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    int x = (desktop.right - desktop.left) / 2 + desktop.left - width / 2;
    int y = (desktop.bottom - desktop.top) / 2 + desktop.top - height / 2;
    return {x, y, x + width, y + height};
}

void CSplashScreen::FitToDpi(int newDpi) {
    if (newDpi == dpi)
        return;
    dpi = newDpi;
    splashBitmap = LoadArtwork(moduleInstance, Artwork::Splash, dpi);
    const RECT place = CentredPlace();
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
}

// Measured on the picture itself: should the artwork for the scale not
// decode, the one at 100 % stands in, and so do its boxes.
int CSplashScreen::Scaled(int length) const {
    return MulDiv(length, splashBitmap.Width(), ArtworkSize(Artwork::Splash, DefaultDpi).cx);
}

void CSplashScreen::PaintSplash(HWND target) {
    PaintDC dc(target);
    if (!dc.Get())
        return;
    OwnedDC memoryDC(CreateCompatibleDC(dc));
    const int width = splashBitmap.Width(), height = splashBitmap.Height();
    // With a high-contrast theme the splash is a plain rectangle in the
    // theme's colours; otherwise the artwork's see-through magenta gives it
    // the cloud's shape. Asked at every paint: the theme may change meanwhile.
    const bool plain = Accessibility.HighContrastOn();
    SetLayeredWindowAttributes(target, ArtworkColorKey, 255, plain ? LWA_ALPHA : LWA_COLORKEY);
    if (plain) {
        RECT whole = {0, 0, width, height};
        FillRect(dc, &whole, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &whole, GetSysColorBrush(COLOR_WINDOWTEXT));
    } else {
        SelectedObject bitmap(memoryDC, splashBitmap.Get());
        BitBlt(dc, 0, 0, width, height, memoryDC, 0, 0, SRCCOPY);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, plain ? GetSysColor(COLOR_WINDOWTEXT) : SplashTextColor);

    // The boxes are places in the artwork, given at 100 % and scaled with it.
    {
        OwnedFont font(CreateSplashFont(14));
        SelectedObject selected(dc, font);
        RECT box = {Scaled(200), Scaled(50), width - Scaled(20), Scaled(90)};
        DrawTextW(dc, version.ProductName.c_str(), -1, &box, CentredLine);
    }

    if (FittedDpi != dpi) {
        VersionBlockFit = StatusLineFit = {-1, -1};
        FittedDpi = dpi;
    }
    const wchar_t* versionBlock[3] = {version.Version.c_str(), version.LegalNotice.c_str(),
                                      version.Comments.c_str()};
    if (VersionBlockFit.pointSize == -1)
        VersionBlockFit = FitFontSize(dc, L"Times New Roman", versionBlock, 3, width - Scaled(180),
                                      Scaled(60), dpi);
    {
        const int h = VersionBlockFit.lineHeight;
        const int left = Scaled(180);
        // Neighbouring boxes overlap a little; each text is centred in its own.
        RECT boxes[3] = {{left, Scaled(89), width, h + Scaled(92)},
                         {left, h + Scaled(91), width, 2 * h + Scaled(94)},
                         {left, 2 * h + Scaled(90), width, 3 * h + Scaled(99)}};
        OwnedFont font(CreateSplashFont(VersionBlockFit.pointSize));
        SelectedObject selected(dc, font);
        for (int line = 0; line < 3; line++)
            DrawTextW(dc, versionBlock[line], -1, &boxes[line], CentredLine);
    }

    {
        // Fitted once, when the first status line is drawn, to every line the
        // program may show there: a later, longer line is not clipped.
        if (StatusLineFit.pointSize == -1) {
            std::vector<std::wstring> lines = SplashStatusLines(LoadText);
            lines.push_back(statusText);
            StatusLineFit = FitStatusLines(dc, lines, width - Scaled(30), Scaled(23), dpi);
        }
        OwnedFont font(CreateSplashFont(StatusLineFit.pointSize));
        SelectedObject selected(dc, font);
        RECT box = {0, Scaled(208), width, Scaled(235)};
        DrawTextW(dc, statusText.c_str(), -1, &box, CentredLine);
    }
}

// Every text is drawn in the system's message-box font; the named faces only
// decide the sizes.
HFONT CSplashScreen::CreateSplashFont(int pointSize) {
    LOGFONTW font = {};
    font.lfHeight = PointSizeToHeight(dpi, pointSize);
    lstrcpynW(font.lfFaceName, messageFontMetrics.lfMessageFont.lfFaceName, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

FontFit CSplashScreen::FitFontSize(HDC dc, const wchar_t* face, const wchar_t* const texts[],
                                   int count, int maxWidth, int maxHeight, int dpi) {
    if (dpi == 0)
        dpi = GetDeviceCaps(dc, LOGPIXELSY);
    const int lineLimit = maxHeight / (count > 0 ? count : 1);
    int widest = 0, lineHeight = 0;
    // Too big even at 8 points gives 6 points, with that size's line height.
    MeasureTexts(dc, face, PointSizeToHeight(dpi, 6), texts, count, &widest, &lineHeight);
    FontFit fit = {6, lineHeight};
    for (int points = 8; points <= LargestFittedPointSize; points += 2) {
        MeasureTexts(dc, face, PointSizeToHeight(dpi, points), texts, count, &widest, &lineHeight);
        if (widest > maxWidth || lineHeight > lineLimit)
            break;
        fit.pointSize = points;
        fit.lineHeight = lineHeight;
    }
    return fit;
}

FontFit CSplashScreen::FitStatusLines(HDC dc, const std::vector<std::wstring>& lines, int maxWidth,
                                      int maxHeight, int dpi) {
    // Each line stands alone in the box: the fit for all of them is the
    // smallest of their own fits.
    FontFit fit = {LargestFittedPointSize + 2, 0};
    for (const std::wstring& line : lines) {
        const wchar_t* text[1] = {line.c_str()};
        FontFit own = FitFontSize(dc, L"Script", text, 1, maxWidth, maxHeight, dpi);
        if (own.pointSize < fit.pointSize)
            fit = own;
    }
    return fit;
}

std::vector<std::wstring> SplashStatusLines(std::wstring (*load)(UINT id)) {
    const std::wstring product = load(IDS_APP_TITLE);
    return {load(IDS_STARTING),
            load(IDS_LOCK_TIP),
            load(IDS_MINIMIZING),
            load(IDS_SETTINGS_UNREADABLE),
            FormatString(load(IDS_ALREADY_RUNNING), product.c_str()),
            L"" MORROWBY_WEB_ADDRESS};
}

void CSplashScreen::PumpSplashMessages() {
    // A click among these messages closes the splash and deletes this
    // object, so only the window handle is used from here on.
    HWND shown = window;
    MSG message;
    while (IsWindow(shown) && PeekMessageA(&message, shown, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The device context's own DPI is the system's, not the monitor's, in a
// per-monitor aware program: points become pixels at the splash's scale.
static int PointSizeToHeight(int dpi, int pointSize) {
    return -MulDiv(pointSize, dpi, 72);
}

// Widest text and the line height of the face at one font height. The line
// height is the font's own, so it is known even when every text is empty.
static void MeasureTexts(HDC dc, const wchar_t* face, int pointHeight, const wchar_t* const texts[],
                         int count, int* widest, int* lineHeight) {
    LOGFONTW description = {};
    description.lfHeight = pointHeight;
    lstrcpynW(description.lfFaceName, face, LF_FACESIZE);
    OwnedFont font(CreateFontIndirectW(&description));
    SelectedObject selected(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    *widest = 0;
    *lineHeight = metrics.tmHeight;
    for (int i = 0; i < count; i++) {
        SIZE size = {};
        GetTextExtentPoint32W(dc, texts[i], (int)wcslen(texts[i]), &size);
        if (size.cx > *widest)
            *widest = size.cx;
        if (size.cy > *lineHeight)
            *lineHeight = size.cy;
    }
}

VersionStrings ReadVersionStrings() {
    VersionStrings strings;
    wchar_t fileName[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, fileName, MAX_PATH);
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeW(fileName, &unused);
    if (size == 0)
        return strings;
    std::vector<BYTE> record(size + 1);
    if (!GetFileVersionInfoW(fileName, 0, size, record.data()))
        return strings;
    QueryVersionText(record, L"ProductName", &strings.ProductName);
    QueryVersionText(record, L"LegalCopyright", &strings.LegalNotice);
    QueryVersionText(record, L"Comments", &strings.Comments);
    std::wstring productVersion;
    if (QueryVersionText(record, L"ProductVersion", &productVersion))
        strings.Version = FormatVersionLine(productVersion.c_str());
    return strings;
}

static bool QueryVersionText(std::vector<BYTE>& record, const wchar_t* name, std::wstring* text) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record.data(), path.c_str(), (void**)&value, &length) || !value)
        return false;
    *text = value;
    return true;
}

// Reads up to four dot-separated numbers from the start of text, each as
// wcstol reads it (leading blanks and a sign allowed); returns how many.
static int ParseVersionNumbers(const wchar_t* text, int numbers[4]) {
    int parsed = 0;
    while (parsed < 4) {
        wchar_t* end = nullptr;
        long value = wcstol(text, &end, 10);
        if (end == text)
            break;
        numbers[parsed++] = (int)value;
        if (*end != '.')
            break;
        text = end + 1;
    }
    return parsed;
}

// Only the numbers that lead the text are shown. A text that begins with no
// number at all is shown as it is.
std::wstring FormatVersionLine(const wchar_t* productVersion) {
    int n[4] = {};
    int parsed = ParseVersionNumbers(productVersion, n);
    wchar_t numbers[64] = L"";
    switch (parsed) {
    case 4:
        wsprintfW(numbers, L"%d.%d.%d.%d", n[0], n[1], n[2], n[3]);
        break;
    case 3:
        wsprintfW(numbers, L"%d.%d.%d", n[0], n[1], n[2]);
        break;
    case 2:
        wsprintfW(numbers, L"%d.%d", n[0], n[1]);
        break;
    case 1:
        wsprintfW(numbers, L"%d", n[0]);
        break;
    }
    std::wstring line = FormatText(IDS_VERSION_LINE, parsed > 0 ? numbers : productVersion);
    // With no version at all the word stands alone, without the blank the
    // format puts after it.
    if (!*productVersion)
        while (!line.empty() && line.back() == L' ')
            line.pop_back();
    return line;
}

LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    bool ours = SplashInstance && SplashInstance->Window() == window;
    if (ColorsChanged(message, wParam))
        InvalidateRect(window, nullptr, FALSE);
    switch (message) {
    case WM_PAINT:
        if (!ours)
            break;
        SplashInstance->PaintSplash(window);
        return 0;
    case WM_DPICHANGED:
        // Centred on the primary screen whatever the system suggests.
        if (ours)
            SplashInstance->FitToDpi(HIWORD(wParam));
        return 0;
    case WM_NCDESTROY:
        // Destroyed along with its owner (an About splash when the main window
        // goes): the object goes too, without destroying the window again.
        if (ours) {
            SplashInstance->ForgetWindow();
            SplashInstance.reset();
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_TIMER:
        CloseSplash();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CSplashScreen::ReportSplashError(UINT format, int error) {
    MessageBoxW(window, FormatText(format, error).c_str(), LoadText(IDS_ERROR_CAPTION).c_str(),
                MB_ICONERROR);
}
