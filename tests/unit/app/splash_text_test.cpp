// Font fitting and the version line, the two computations behind the texts.
#include "app/splash_screen.h"
#include "res/version.h"
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
static Measured Measure(HDC dc, const char* face, int points,
                        const std::vector<std::string>& texts) {
    LOGFONTA description = {};
    description.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lstrcpynA(description.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    Measured result = {0, metrics.tmHeight};
    for (const std::string& text : texts) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
        result.widest = std::max(result.widest, (int)size.cx);
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    return result;
}

struct FitCase {
    const char* name;
    const char* face;
    std::vector<std::string> texts;
    int maxWidth;
    int maxHeight;
};

class FitFontSizeTest : public ::testing::TestWithParam<FitCase> {};

// The size found is the largest even size that fits, and the line height is
// that size's: one step up, a text is too wide or a line too tall.
TEST_P(FitFontSizeTest, FindsTheLargestEvenSizeThatFits) {
    const FitCase& fit = GetParam();
    HDC dc = GetDC(nullptr);
    std::vector<const char*> texts;
    for (const std::string& text : fit.texts)
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
                "Times New Roman",
                {"Version 1.0.1.1", MORROWBY_COPYRIGHT, MORROWBY_COMMENTS},
                351,
                60},
        FitCase{"first status line", "Script", {"Starting application..."}, 501, 23},
        FitCase{"long status line",
                "Script",
                {"SETTINGS: The software can't read the settings registry"},
                501,
                23},
        FitCase{"too wide even at 8 points", "Script", {std::string(300, 'W')}, 100, 23},
        FitCase{"no room for any line", "Script", {"abc"}, 500, 0},
        // Nothing grows with empty texts but the line height: the search must
        // still end, at the size whose line no longer fits.
        FitCase{"empty version block", "Times New Roman", {"", "", ""}, 351, 60},
        FitCase{"empty status line", "Script", {""}, 501, 23},
        FitCase{"one text of three", "Times New Roman", {"", "Version 1.0.1.1", ""}, 351, 60}),
    [](const ::testing::TestParamInfo<FitCase>& param) {
        std::string name;
        for (const char* c = param.param.name; *c; c++)
            if (isalnum((unsigned char)*c))
                name += *c;
        return name;
    });

TEST(FormatVersionLine, ShowsTheLeadingNumbers) {
    struct {
        const char* productVersion;
        const char* line;
    } cases[] = {
        {"1.0.1.1", "Version 1.0.1.1"},
        {"2.1.7", "Version 2.1.7"},
        {"3.4", "Version 3.4"},
        {"5", "Version 5"},
        {"1.2.3.4.5", "Version 1.2.3.4"},
        {"01.002.3", "Version 1.2.3"},
        {"2.1 beta", "Version 2.1"},
        {"7.x.1", "Version 7"},
        // No leading number: the text as it is.
        {"beta", "Version beta"},
        {"v1.0", "Version v1.0"},
        {"", "Version"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(FormatVersionLine(test.productVersion), test.line) << test.productVersion;
}

TEST(ReadVersionStrings, ReadsTheProgramsOwnRecord) {
    const VersionStrings strings = ReadVersionStrings();
    EXPECT_EQ(strings.ProductName, "Morrowby");
    EXPECT_EQ(strings.Version, "Version " MORROWBY_VERSION_TEXT);
    EXPECT_EQ(strings.LegalNotice, MORROWBY_COPYRIGHT);
    EXPECT_EQ(strings.Comments, MORROWBY_COMMENTS);
}
