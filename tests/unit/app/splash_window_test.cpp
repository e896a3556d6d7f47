// The splash window as the desktop sees it: shape, place, z-order, closing.
#include "splash_test_support.h"
#include "app/splash.h"
#include "app/splash_screen.h"
#include "support/screenshot.h"
#include "support/wait.h"
#include "support/high_contrast_answers.h"
#include "win/accessibility.h"
#include <gtest/gtest.h>
#include <string>

static const int SplashWidth = 531, SplashHeight = 449;

class SplashWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { CloseSplashAndSettle(); }
    void TearDown() override {
        CloseSplashAndSettle();
        if (parent)
            DestroyWindow(parent);
    }
    HWND CreateParent() {
        RECT area = {10, 10, 110, 110};
        parent = CreateBackdropWindow(RGB(0, 128, 0), area);
        return parent;
    }
    HWND parent = nullptr;
};

TEST_F(SplashWindowTest, StartupSplashIsACentredShapedTopmostWindow) {
    ShowSplashStatus(nullptr, L"Starting application...", 0);
    HWND splash = FindOwnSplash();
    ASSERT_TRUE(splash);
    ASSERT_TRUE(SplashInstance);
    EXPECT_EQ(splash, SplashInstance->Window());
    EXPECT_TRUE(IsWindowVisible(splash));
    EXPECT_EQ(GetWindow(splash, GW_OWNER), nullptr);

    RECT rect, desktop;
    GetWindowRect(splash, &rect);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(rect.right - rect.left, SplashWidth);
    EXPECT_EQ(rect.bottom - rect.top, SplashHeight);
    EXPECT_EQ(rect.left, (desktop.right - desktop.left) / 2 + desktop.left - SplashWidth / 2);
    EXPECT_EQ(rect.top, (desktop.bottom - desktop.top) / 2 + desktop.top - SplashHeight / 2);

    LONG exStyle = GetWindowLongA(splash, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongA(splash, GWL_STYLE) & WS_POPUP);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(splash, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(255, 0, 255));
    EXPECT_EQ(flags, (DWORD)LWA_COLORKEY);
}

TEST_F(SplashWindowTest, AboutSplashStaysWithItsOwnerAndIsNotTopmost) {
    HWND owner = CreateParent();
    ShowSplashStatus(owner, L"https://www.orvane.com/", 10000);
    HWND splash = FindOwnSplash();
    ASSERT_TRUE(splash);
    EXPECT_EQ(GetWindow(splash, GW_OWNER), owner);
    EXPECT_FALSE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(SplashWindowTest, ALaterStatusLineReusesTheWindowAndTheFirstFit) {
    ShowSplashStatus(nullptr, L"Starting application...", 0);
    HWND splash = FindOwnSplash();
    ASSERT_TRUE(splash);
    ASSERT_NE(CSplashScreen::StatusLineFit.pointSize, -1);
    ASSERT_NE(CSplashScreen::VersionBlockFit.pointSize, -1);
    FontFit firstFit = CSplashScreen::StatusLineFit;

    ShowSplashStatus(nullptr, L"SETTINGS: The software can't read the settings registry", 0);
    EXPECT_EQ(FindOwnSplash(), splash);
    ASSERT_TRUE(SplashInstance);
    EXPECT_EQ(SplashInstance->StatusText(),
              L"SETTINGS: The software can't read the settings registry");
    EXPECT_EQ(CSplashScreen::StatusLineFit.pointSize, firstFit.pointSize);
    EXPECT_EQ(CSplashScreen::StatusLineFit.lineHeight, firstFit.lineHeight);

    // Closed, then shown again: a fresh window.
    CloseSplash();
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_FALSE(SplashInstance) << "the object and its text go with the window";
    ShowSplashStatus(nullptr, L"Minimizing to system tray", 0);
    EXPECT_TRUE(FindOwnSplash());
}

TEST_F(SplashWindowTest, ClicksAndKeysCloseItOtherMessagesDoNot) {
    struct Case {
        const char* name;
        UINT message;
        bool closes;
    } cases[] = {
        {"left button down", WM_LBUTTONDOWN, true},
        {"right button down", WM_RBUTTONDOWN, true},
        {"middle button down", WM_MBUTTONDOWN, true},
        {"frame left button down", WM_NCLBUTTONDOWN, true},
        {"frame right button down", WM_NCRBUTTONDOWN, true},
        {"frame middle button down", WM_NCMBUTTONDOWN, true},
        {"key down", WM_KEYDOWN, true},
        {"system key down", WM_SYSKEYDOWN, true},
        {"left button up", WM_LBUTTONUP, false},
        {"mouse move", WM_MOUSEMOVE, false},
        {"key up", WM_KEYUP, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ShowSplashStatus(nullptr, L"Starting application...", 0);
        HWND splash = FindOwnSplash();
        ASSERT_TRUE(splash);
        PostMessageA(splash, test.message, 0, 0);
        bool closed = WaitUntil([&] { return !IsWindow(splash); }, test.closes ? 2000 : 200);
        EXPECT_EQ(closed, test.closes);
        EXPECT_EQ(SplashInstance == nullptr, test.closes);
        CloseSplashAndSettle();
    }
}

TEST_F(SplashWindowTest, ARealClickOnTheCloudClosesIt) {
    ShowSplashStatus(nullptr, L"Starting application...", 0);
    HWND splash = FindOwnSplash();
    ASSERT_TRUE(splash);
    RECT rect;
    GetWindowRect(splash, &rect);
    // Lilac, below the status line and away from the pictures.
    ASSERT_TRUE(SetCursorPos(rect.left + 250, rect.top + 260));
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(splash); }, 3000));
}

TEST_F(SplashWindowTest, ItsTimerClosesItAfterTheDelay) {
    DWORD start = GetTickCount();
    ShowSplashStatus(nullptr, L"Starting application...", 300);
    HWND splash = FindOwnSplash();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(splash); }, 3000));
    EXPECT_GE(GetTickCount() - start, 250u);
}

// The delay itself is timed above with a short one; here the About splash's
// own timer is set, does not fire early, and closing it leaves the owner.
TEST_F(SplashWindowTest, TheAboutSplashClosesByItselfWhenItsTimerFires) {
    HWND owner = CreateParent();
    ShowSplashStatus(owner, L"https://www.orvane.com/", 10000);
    HWND splash = FindOwnSplash();
    ASSERT_TRUE(splash);
    PumpMessagesFor(500);
    EXPECT_TRUE(IsWindow(splash));
    const UINT_PTR closeTimer = 1;
    EXPECT_TRUE(KillTimer(splash, closeTimer)) << "no close timer was running";
    PostMessageA(splash, WM_TIMER, closeTimer, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(splash); }, 3000));
    EXPECT_TRUE(IsWindow(owner));
}

TEST_F(SplashWindowTest, ShowingPumpsOnlyTheSplashsOwnMessages) {
    HWND other = CreateParent();
    PostMessageA(other, WM_USER + 7, 0, 0);
    ShowSplashStatus(nullptr, L"Starting application...", 0);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, other, WM_USER + 7, WM_USER + 7, PM_REMOVE));
}

// Under a high-contrast theme the cloud gives way to a plain rectangle in the
// theme's window colour, also when the theme comes while the splash shows.
TEST_F(SplashWindowTest, AHighContrastThemeDrawsItInTheThemesColours) {
    const HighContrastAnswer restored(Accessibility.HighContrastOn);
    ShowSplashStatus(nullptr, L"Starting application...", 0);
    HWND splash = FindOwnSplash();
    ASSERT_TRUE(splash);
    Accessibility.HighContrastOn = HighContrastTheme;
    SendMessageW(splash, WM_SYSCOLORCHANGE, 0, 0);
    PumpMessagesFor(300);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(splash, &key, &alpha, &flags);
    RECT rect;
    GetWindowRect(splash, &rect);
    // A corner of the artwork, magenta and see-through without the theme.
    const COLORREF corner = ScreenPixel(rect.left + 8, rect.top + 8);
    CloseSplashAndSettle();
    EXPECT_EQ(flags, (DWORD)LWA_ALPHA);
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(corner, GetSysColor(COLOR_WINDOW));
}
