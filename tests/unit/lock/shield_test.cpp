// The touch shield's two windows: geometry, attributes, painting, display
// changes and the tap on the padlock.
#include "support/lock_fixture.h"
#include "support/process_memory.h"
#include "support/z_order.h"
#include "support/screenshot.h"
#include "features/video_counter.h"
#include "lock/edge_gestures.h"
#include "lock/shield.h"
#include "lock/unlock_prompt.h"
#include "win/accessibility.h"
#include "support/high_contrast_answers.h"
#include "win/os_version.h"
#include <gtest/gtest.h>

namespace {

class CoverTest : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        Settings.EnableTouchShield = true;
    }
    void TearDown() override {
        UnlockPrompt.UnlockPromptOpen = false;
        LockFixture::TearDown();
    }
    void LockNow() {
        ASSERT_TRUE(EngageAtOnce());
        ASSERT_NE(Shield.CoverWindow(), nullptr);
        ASSERT_NE(Shield.UnlockImageWindow(), nullptr);
    }
};

TEST_F(CoverTest, CoversTheMaximizedAreaWithThePadlockBottomRight) {
    LockNow();
    const int cx = GetSystemMetrics(SM_CXMAXIMIZED), cy = GetSystemMetrics(SM_CYMAXIMIZED) + 30;
    const RECT cover = WindowRect(Shield.CoverWindow());
    EXPECT_EQ(cover.left, 0);
    EXPECT_EQ(cover.top, 0);
    EXPECT_EQ(cover.right, cx);
    EXPECT_EQ(cover.bottom, cy);
    const RECT padlock = WindowRect(Shield.UnlockImageWindow());
    EXPECT_EQ(padlock.left, cx - 128 - 20);
    EXPECT_EQ(padlock.top, cy - 128 - 70);
    EXPECT_EQ(padlock.right - padlock.left, 128);
    EXPECT_EQ(padlock.bottom - padlock.top, 128);
    EXPECT_TRUE(IsWindowVisible(Shield.CoverWindow()));
    EXPECT_TRUE(IsWindowVisible(Shield.UnlockImageWindow()));
    EXPECT_TRUE(Above(Shield.UnlockImageWindow(), Shield.CoverWindow()));
    // In front, where its edge-swipe property counts.
    EXPECT_EQ(GetForegroundWindow(), Shield.CoverWindow());
}

TEST_F(CoverTest, WindowsAreLayeredTopmostToolWindowsOwnedInAChain) {
    LockNow();
    struct Expected {
        HWND window;
        const char* className;
        const char* title;
        HWND owner;
        DWORD layeredFlags;
        BYTE alpha;
    };
    const Expected windows[] = {
        {Shield.CoverWindow(), "Cover", "", MainWindow, LWA_ALPHA, 10},
        {Shield.UnlockImageWindow(), "UnlockImage", "Cover Icon", Shield.CoverWindow(),
         LWA_COLORKEY, 0},
    };
    for (const Expected& e : windows) {
        SCOPED_TRACE(e.className);
        char name[32] = {}, title[32] = {};
        GetClassNameA(e.window, name, sizeof name);
        GetWindowTextA(e.window, title, sizeof title);
        EXPECT_STREQ(name, e.className);
        EXPECT_STREQ(title, e.title);
        EXPECT_EQ(GetWindow(e.window, GW_OWNER), e.owner);
        const LONG_PTR extended = GetWindowLongPtrA(e.window, GWL_EXSTYLE);
        EXPECT_TRUE(extended & WS_EX_LAYERED);
        EXPECT_TRUE(extended & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(extended & WS_EX_TOPMOST);
        EXPECT_TRUE(GetWindowLongPtrA(e.window, GWL_STYLE) & WS_POPUP);
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(e.window, &key, &alpha, &flags));
        EXPECT_EQ(flags, e.layeredFlags);
        if (flags & LWA_ALPHA) {
            EXPECT_EQ(alpha, e.alpha);
        }
        if (flags & LWA_COLORKEY) {
            EXPECT_EQ(key, RGB(255, 0, 255));
        }
    }
}

TEST_F(CoverTest, PadlockShowsItsPictureWithTheMagentaKeyedOut) {
    LockNow();
    PumpMessagesFor(300);
    const RECT padlock = WindowRect(Shield.UnlockImageWindow());
    // The yellow body of the padlock, low in the picture.
    const COLORREF body = ScreenPixel(padlock.left + 40, padlock.top + 100);
    EXPECT_GT(GetRValue(body), 200);
    EXPECT_GT(GetGValue(body), 150);
    EXPECT_LT(GetBValue(body), 100);
    EXPECT_NE(ScreenPixel(padlock.left + 4, padlock.top + 4), RGB(255, 0, 255));
    // Repainting never makes new graphics objects: hundreds of repaints cost nothing.
    const SIZE_T before = PrivateBytes(GetCurrentProcess());
    for (int i = 0; i < 500; i++) {
        InvalidateRect(Shield.UnlockImageWindow(), nullptr, FALSE);
        UpdateWindow(Shield.UnlockImageWindow());
    }
    EXPECT_LT(PrivateBytes(GetCurrentProcess()), before + 256 * 1024);
    const COLORREF again = ScreenPixel(padlock.left + 40, padlock.top + 100);
    EXPECT_EQ(again, body);
}

TEST_F(CoverTest, BitmapAndWindowsGoWithTheRelease) {
    LockNow();
    const HWND cover = Shield.CoverWindow(), padlock = Shield.UnlockImageWindow();
    EXPECT_TRUE(Shield.UnlockBitmapLoaded());
    EXPECT_EQ(Shield.UnlockBitmapSize().cx, 128);
    EXPECT_EQ(Shield.UnlockBitmapSize().cy, 128);
    RequestUnlock();
    EXPECT_FALSE(IsWindow(cover));
    EXPECT_FALSE(IsWindow(padlock));
    EXPECT_FALSE(Shield.UnlockBitmapLoaded());
}

struct DisplayCase {
    bool landscape;
    bool locked;
};

TEST_F(CoverTest, DisplayChangeResizesTheCoverAndKeepsThePadlockInTheMouseRegion) {
    const int cx = GetSystemMetrics(SM_CXMAXIMIZED), cy = GetSystemMetrics(SM_CYMAXIMIZED) + 30;
    const DisplayCase cases[] = {{true, false}, {false, false}, {true, true}, {false, true}};
    POINT landscapeCorner = {};
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "landscape " << c.landscape << " locked " << c.locked);
        if (c.locked && Lock.Unlocked)
            LockNow();
        PointerRegion.MoveCorner({1, 1});
        RECT padlockBefore = {};
        if (c.locked) {
            padlockBefore = WindowRect(Shield.UnlockImageWindow());
            SetWindowPos(Shield.CoverWindow(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        }
        // The main window receives the change with the new width and height.
        const LPARAM size = c.landscape ? MAKELPARAM(1280, 800) : MAKELPARAM(800, 1280);
        SendMessageA(MainWindow, WM_DISPLAYCHANGE, 32, size);
        // The maximized size read anew already describes the screen as it is
        // turned; a corner taken crosswise would leave the region off the screen.
        const POINT corner = PointerRegion.Corner();
        if (c.landscape)
            landscapeCorner = corner;
        EXPECT_EQ(corner.x, landscapeCorner.x);
        EXPECT_EQ(corner.y, landscapeCorner.y);
        EXPECT_LE(corner.x, cx);
        EXPECT_LE(corner.y, cy);
        EXPECT_GE(corner.x - 120, 0);
        EXPECT_LT(corner.y - 120, GetSystemMetrics(SM_CYSCREEN));
        if (c.locked) {
            const RECT cover = WindowRect(Shield.CoverWindow());
            EXPECT_EQ(cover.left, 0);
            EXPECT_EQ(cover.top, 0);
            EXPECT_EQ(cover.right, cx);
            EXPECT_EQ(cover.bottom, cy);
            EXPECT_TRUE(GetWindowLongPtrA(Shield.CoverWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
            // Same screen, same place; and within the mouse region.
            const RECT padlock = WindowRect(Shield.UnlockImageWindow());
            EXPECT_EQ(padlock.left, padlockBefore.left);
            EXPECT_EQ(padlock.top, padlockBefore.top);
            EXPECT_GE(padlock.left, corner.x - 120);
            EXPECT_GE(padlock.top, corner.y - 120);
        }
    }
}

TEST_F(CoverTest, ReassertPutsTheCoverBackOnTopUnlessThePromptIsOpen) {
    LockNow();
    HWND other =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP | WS_VISIBLE,
                        0, 0, 300, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(Above(other, Shield.CoverWindow()));
    UnlockPrompt.UnlockPromptOpen = true;
    ReassertCover(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_TRUE(Above(other, Shield.CoverWindow()));
    UnlockPrompt.UnlockPromptOpen = false;
    ReassertCover(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_TRUE(Above(Shield.CoverWindow(), other));
    EXPECT_TRUE(Above(Shield.UnlockImageWindow(), Shield.CoverWindow()));
    // The lock's watchdog (timed for real in the hook tests) does it by itself.
    EXPECT_TRUE(KillTimer(MainWindow, LockTimerId));
    DestroyWindow(other);
}

// With the keyboard free, Alt+F4 and the window menu's commands reach
// whichever shield window is active; none may take the shield away or aside,
// and what another program does with ShowWindow the watchdog undoes.
TEST_F(CoverTest, ShieldWindowsCannotBeClosedMinimisedMovedOrSized) {
    LockNow();
    const RECT before = WindowRect(Shield.CoverWindow());
    for (HWND shield : {Shield.UnlockImageWindow(), Shield.CoverWindow()}) {
        SendMessageA(shield, WM_CLOSE, 0, 0);
        for (WPARAM command :
             std::vector<WPARAM>{SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_MOVE, SC_SIZE,
                                 SC_MOVE | HTCAPTION, SC_SIZE | WMSZ_LEFT})
            SendMessageA(shield, WM_SYSCOMMAND, command, 0);
    }
    EXPECT_TRUE(IsWindowVisible(Shield.CoverWindow()));
    EXPECT_TRUE(IsWindowVisible(Shield.UnlockImageWindow()));
    EXPECT_FALSE(IsIconic(Shield.CoverWindow()));
    const RECT after = WindowRect(Shield.CoverWindow());
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_FALSE(Lock.Unlocked);
    for (int how : {SW_MINIMIZE, SW_HIDE}) {
        ShowWindow(Shield.CoverWindow(), how);
        ShowWindow(Shield.UnlockImageWindow(), SW_HIDE);
        GuardLock(MainWindow, WM_TIMER, LockTimerId, 0);
        EXPECT_FALSE(IsIconic(Shield.CoverWindow())) << how;
        EXPECT_TRUE(IsWindowVisible(Shield.CoverWindow())) << how;
        EXPECT_TRUE(IsWindowVisible(Shield.UnlockImageWindow())) << how;
        EXPECT_TRUE(Above(Shield.UnlockImageWindow(), Shield.CoverWindow())) << how;
    }
}

TEST_F(CoverTest, PeriodicRaiseLeavesTheForegroundAlone) {
    LockNow();
    HWND video = CreateWindowExA(0, "STATIC", "Song - YouTube", WS_POPUP | WS_VISIBLE, 10, 10, 200,
                                 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(video);
    ASSERT_EQ(GetForegroundWindow(), video);
    ReassertCover(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_EQ(GetForegroundWindow(), video);
    EXPECT_TRUE(GetWindowLongA(Shield.CoverWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(video);
}

// The video counter's limit reaches the shield through what the lock set for it.
TEST_F(CoverTest, TheVideoLimitTurnsTheCoverOpaqueAndBringsItToTheFront) {
    StopVideoAtLimit(nullptr); // without a shield: no cover comes
    EXPECT_EQ(Shield.CoverWindow(), nullptr);
    LockNow();
    StopVideoAtLimit(nullptr);
    const HWND cover = Shield.CoverWindow();
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(cover, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, (DWORD)LWA_ALPHA) << "the color key no longer punches holes";
    EXPECT_TRUE(IsWindowVisible(cover));
    EXPECT_TRUE(GetWindowLongA(cover, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), cover);
}

TEST_F(CoverTest, EdgeGesturePropertyIsSetOnTheCover) {
    // The test prefix is a system whose covers get the property.
    EXPECT_TRUE(IsOsVersionAtLeast(6, 1, 1));
    LockNow();
    EXPECT_EQ(DisableEdgeGestures(Shield.CoverWindow(), true), S_OK);
    EXPECT_EQ(DisableEdgeGestures(Shield.CoverWindow(), false), S_OK);
}

} // namespace

namespace {

struct Annotation {
    HWND window;
    std::wstring name; // empty: taken away
    bool windowAlive;
};
std::vector<Annotation> Annotations;

bool RecordAnnotation(HWND window, const wchar_t* name) {
    Annotations.push_back({window, name ? name : L"", IsWindow(window) != FALSE});
    return true;
}

} // namespace

// A screen reader names the padlock by what a tap on it does; the name goes
// before the window does, and the title stays.
TEST_F(CoverTest, PadlockIsNamedForScreenReadersWhileItIsThere) {
    Annotations.clear();
    const AnnotateNameFunction real = Accessibility.AnnotateName;
    Accessibility.AnnotateName = RecordAnnotation;
    LockNow();
    const HWND padlock = Shield.UnlockImageWindow();
    RequestUnlock();
    Accessibility.AnnotateName = real;
    ASSERT_EQ(Annotations.size(), 2u);
    EXPECT_EQ(Annotations[0].window, padlock);
    EXPECT_EQ(Annotations[0].name, L"Unlock");
    EXPECT_EQ(Annotations[1].window, padlock);
    EXPECT_EQ(Annotations[1].name, L"");
    EXPECT_TRUE(Annotations[1].windowAlive);
}

// Opaque at the video limit, the covers show the frame colour, or under a
// high-contrast theme the theme's window background.
TEST_F(CoverTest, CoverIsFilledInTheThemesColour) {
    const HighContrastAnswer restored(Accessibility.HighContrastOn);
    LockNow();
    const struct {
        HighContrastQuery query;
        int color;
    } rows[] = {{NoHighContrastTheme, COLOR_WINDOWFRAME}, {HighContrastTheme, COLOR_WINDOW}};
    for (const auto& row : rows) {
        Accessibility.HighContrastOn = row.query;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        SendMessageA(Shield.CoverWindow(), WM_ERASEBKGND, (WPARAM)dc, 0);
        EXPECT_EQ(GetPixel(dc, 4, 4), GetSysColor(row.color)) << "colour " << row.color;
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
}
