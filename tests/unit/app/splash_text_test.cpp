// Font fitting and the version line, the two computations behind the texts.
#include "app/splash_screen.h"
#include "res/resource.h"
#include "res/version.h"
#include "support/language_resources.h"
#include "support/text_fit.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

// Measures a face at a point size the way a screen of this DPI draws it.
struct Measured {
    int widest;
    int lineHeight;
};
static Measured Measure(HDC dc, const wchar_t* face, int points,
                        const std::vector<std::wstring>& texts) {
    LOGFONTW description = {};
    description.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lstrcpynW(description.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&description);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    Measured result = {0, metrics.tmHeight};
    for (const std::wstring& text : texts) {
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
        result.widest = std::max(result.widest, (int)size.cx);
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    return result;
}

struct FitCase {
    const char* name;
    const wchar_t* face;
    std::vector<std::wstring> texts;
    int maxWidth;
    int maxHeight;
};

class FitFontSizeTest : public ::testing::TestWithParam<FitCase> {};

// The size found is the largest even size that fits, and the line height is
// that size's: one step up, a text is too wide or a line too tall.
TEST_P(FitFontSizeTest, FindsTheLargestEvenSizeThatFits) {
    const FitCase& fit = GetParam();
    HDC dc = GetDC(nullptr);
    std::vector<const wchar_t*> texts;
    for (const std::wstring& text : fit.texts)
        texts.push_back(text.c_str());
    DWORD start = GetTickCount();
    FontFit result = CSplashScreen::FitFontSize(dc, fit.face, texts.data(), (int)texts.size(),
                                                fit.maxWidth, fit.maxHeight);
    EXPECT_LT(GetTickCount() - start, 5000u);
    const int lineLimit = fit.maxHeight / (int)texts.size();

    EXPECT_GE(result.pointSize, 6);
    EXPECT_EQ(result.pointSize % 2, 0);
    Measured atSize = Measure(dc, fit.face, result.pointSize, fit.texts);
    EXPECT_EQ(result.lineHeight, atSize.lineHeight);
    if (result.pointSize > 6) {
        EXPECT_LE(atSize.widest, fit.maxWidth);
        EXPECT_LE(atSize.lineHeight, lineLimit);
    }
    Measured above = Measure(dc, fit.face, result.pointSize + 2, fit.texts);
    EXPECT_TRUE(above.widest > fit.maxWidth || above.lineHeight > lineLimit)
        << "at " << result.pointSize + 2 << " points: width " << above.widest << ", height "
        << above.lineHeight;
    ReleaseDC(nullptr, dc);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FitFontSizeTest,
    ::testing::Values(
        FitCase{"version block",
                L"Times New Roman",
                {L"Version 1.0.1.1", L"" MORROWBY_COPYRIGHT, L"" MORROWBY_COMMENTS},
                351,
                60},
        FitCase{"first status line", L"Script", {L"Starting application..."}, 501, 23},
        FitCase{"long status line",
                L"Script",
                {L"SETTINGS: The software can't read the settings registry"},
                501,
                23},
        FitCase{"too wide even at 8 points", L"Script", {std::wstring(300, L'W')}, 100, 23},
        FitCase{"no room for any line", L"Script", {L"abc"}, 500, 0},
        // Nothing grows with empty texts but the line height: the search must
        // still end, at the size whose line no longer fits.
        FitCase{"empty version block", L"Times New Roman", {L"", L"", L""}, 351, 60},
        FitCase{"empty status line", L"Script", {L""}, 501, 23},
        FitCase{"one text of three", L"Times New Roman", {L"", L"Version 1.0.1.1", L""}, 351, 60}),
    [](const ::testing::TestParamInfo<FitCase>& param) {
        std::string name;
        for (const char* c = param.param.name; *c; c++)
            if (isalnum((unsigned char)*c))
                name += *c;
        return name;
    });

TEST(FormatVersionLine, ShowsTheLeadingNumbers) {
    struct {
        const wchar_t* productVersion;
        const wchar_t* line;
    } cases[] = {
        {L"1.0.1.1", L"Version 1.0.1.1"},
        {L"2.1.7", L"Version 2.1.7"},
        {L"3.4", L"Version 3.4"},
        {L"5", L"Version 5"},
        {L"1.2.3.4.5", L"Version 1.2.3.4"},
        {L"01.002.3", L"Version 1.2.3"},
        {L"2.1 beta", L"Version 2.1"},
        {L"7.x.1", L"Version 7"},
        // No leading number: the text as it is.
        {L"beta", L"Version beta"},
        {L"v1.0", L"Version v1.0"},
        {L"", L"Version"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(FormatVersionLine(test.productVersion), test.line) << test.productVersion;
}

TEST(ReadVersionStrings, ReadsTheProgramsOwnRecord) {
    const VersionStrings strings = ReadVersionStrings();
    EXPECT_EQ(strings.ProductName, L"Morrowby");
    EXPECT_EQ(strings.Version, L"Version " MORROWBY_VERSION_TEXT);
    EXPECT_EQ(strings.LegalNotice, L"" MORROWBY_COPYRIGHT);
    EXPECT_EQ(strings.Comments, L"" MORROWBY_COMMENTS);
}

namespace {

LANGID LanguageRead = 0;
std::wstring ReadInLanguage(UINT id) {
    return StringIn(GetModuleHandleW(nullptr), id, LanguageRead);
}

// The splash draws its texts in the system's message font, at the size the
// fit chose; where that font has no glyphs for the language's script, a font
// of the language's character set stands in, as on that language's Windows.
HFONT DrawnFont(HDC dc, int points, BYTE charset) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW description = {};
    description.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    description.lfCharSet = charset;
    lstrcpynW(description.lfFaceName, metrics.lfMessageFont.lfFaceName, LF_FACESIZE);
    return CreateFontIndirectW(&description);
}

class SplashStatusInLanguage : public testing::TestWithParam<Language> {};

// Fitted once, the status font holds every line the splash will show in that
// language: none is clipped at the sides of the splash.
TEST_P(SplashStatusInLanguage, EveryLineFitsTheSplash) {
    LanguageRead = GetParam().id;
    const std::vector<std::wstring> lines = SplashStatusLines(ReadInLanguage);
    HBITMAP artwork = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SPLASH));
    BITMAP size = {};
    GetObjectW(artwork, sizeof size, &size);
    DeleteObject(artwork);
    HDC dc = GetDC(nullptr);
    // The status line's room at 100 %: the splash's width less a margin, 23 high.
    const FontFit fit = CSplashScreen::FitStatusLines(dc, lines, size.bmWidth - 30, 23);
    HFONT font = DrawnFont(dc, fit.pointSize, GetParam().charset);
    HGDIOBJ previous = SelectObject(dc, font);
    for (const std::wstring& line : lines) {
        EXPECT_FALSE(line.empty());
        RECT box = {0, 0, 0, 0};
        DrawTextW(dc, line.c_str(), -1, &box, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_LE(box.right, size.bmWidth) << Utf8(line) << " at " << fit.pointSize << " points";
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, SplashStatusInLanguage, testing::ValuesIn(Languages()),
                         [](const testing::TestParamInfo<Language>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
