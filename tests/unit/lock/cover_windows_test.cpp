// The touch shield's two windows: geometry, attributes, painting, display
// changes and the tap on the padlock.
#include "support/in_process_app.h"
#include "support/z_order.h"
#include "support/screenshot.h"
#include "support/tray_recorder.h"
#include "support/wait.h"
#include "app/app_state.h"
#include "app/startup.h"
#include "lock/cover_windows.h"
#include "lock/lock_controller.h"
#include "res/resource.h"
#include "settings/settings_controller.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>
#include <psapi.h>

namespace {

class CoverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(StartInProcessApp(), nullptr);
        Settings.DisableKeyboard = false;
        Settings.EnableTouchShield = true;
        savedX = PointerCornerX;
        savedY = PointerCornerY;
    }
    void TearDown() override {
        AppController.UnlockPromptOpen = false;
        StopInProcessApp();
        PointerCornerX = savedX;
        PointerCornerY = savedY;
    }
    void Lock() {
        ImmediateLock = true;
        StartLockCountdown();
        ASSERT_TRUE(WaitUntil([] { return !ImmediateLock; }, 3000));
        ASSERT_NE(CoverWindow, nullptr);
        ASSERT_NE(UnlockImageWindow, nullptr);
    }
    int savedX = 0, savedY = 0;
};

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

TEST_F(CoverTest, CoversTheMaximizedAreaWithThePadlockBottomRight) {
    Lock();
    const int cx = GetSystemMetrics(SM_CXMAXIMIZED), cy = GetSystemMetrics(SM_CYMAXIMIZED) + 30;
    const RECT cover = WindowRect(CoverWindow);
    EXPECT_EQ(cover.left, 0);
    EXPECT_EQ(cover.top, 0);
    EXPECT_EQ(cover.right, cx);
    EXPECT_EQ(cover.bottom, cy);
    const RECT padlock = WindowRect(UnlockImageWindow);
    EXPECT_EQ(padlock.left, cx - 128 - 20);
    EXPECT_EQ(padlock.top, cy - 128 - 70);
    EXPECT_EQ(padlock.right - padlock.left, 128);
    EXPECT_EQ(padlock.bottom - padlock.top, 128);
    EXPECT_TRUE(IsWindowVisible(CoverWindow));
    EXPECT_TRUE(IsWindowVisible(UnlockImageWindow));
    EXPECT_TRUE(Above(UnlockImageWindow, CoverWindow));
}

TEST_F(CoverTest, WindowsAreLayeredTopmostToolWindowsOwnedInAChain) {
    Lock();
    struct Expected {
        HWND window;
        const char* className;
        const char* title;
        HWND owner;
        DWORD layeredFlags;
        BYTE alpha;
    };
    const Expected windows[] = {
        {CoverWindow, "Cover", "", MainWindow, LWA_ALPHA, 10},
        {UnlockImageWindow, "UnlockImage", "Cover Icon", CoverWindow, LWA_COLORKEY, 0},
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
    Lock();
    PumpMessagesFor(300);
    const RECT padlock = WindowRect(UnlockImageWindow);
    // The yellow body of the padlock, low in the picture.
    const COLORREF body = ScreenPixel(padlock.left + 40, padlock.top + 100);
    EXPECT_GT(GetRValue(body), 200);
    EXPECT_GT(GetGValue(body), 150);
    EXPECT_LT(GetBValue(body), 100);
    EXPECT_NE(ScreenPixel(padlock.left + 4, padlock.top + 4), RGB(255, 0, 255));
    // Repainting never makes new graphics objects: hundreds of repaints cost nothing.
    PROCESS_MEMORY_COUNTERS_EX before = {}, after = {};
    K32GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&before, sizeof before);
    for (int i = 0; i < 500; i++) {
        InvalidateRect(UnlockImageWindow, nullptr, FALSE);
        UpdateWindow(UnlockImageWindow);
    }
    K32GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&after, sizeof after);
    EXPECT_LT(after.PrivateUsage, before.PrivateUsage + 256 * 1024);
    const COLORREF again = ScreenPixel(padlock.left + 40, padlock.top + 100);
    EXPECT_EQ(again, body);
}

TEST_F(CoverTest, BitmapAndWindowsGoWithTheRelease) {
    Lock();
    const HWND cover = CoverWindow, padlock = UnlockImageWindow;
    EXPECT_TRUE(UnlockBitmapLoaded());
    EXPECT_EQ(UnlockBitmapWidth, 128);
    EXPECT_EQ(UnlockBitmapHeight, 128);
    RequestUnlock();
    EXPECT_FALSE(IsWindow(cover));
    EXPECT_FALSE(IsWindow(padlock));
    EXPECT_FALSE(UnlockBitmapLoaded());
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
        if (c.locked && Unlocked)
            Lock();
        PointerCornerX = PointerCornerY = 1;
        RECT padlockBefore = {};
        if (c.locked) {
            padlockBefore = WindowRect(UnlockImageWindow);
            SetWindowPos(CoverWindow, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        }
        // The main window receives the change with the new width and height.
        const LPARAM size = c.landscape ? MAKELPARAM(1280, 800) : MAKELPARAM(800, 1280);
        SendMessageA(MainWindow, WM_DISPLAYCHANGE, 32, size);
        // The maximized size read anew already describes the screen as it is
        // turned; a corner taken crosswise would leave the region off the screen.
        if (c.landscape)
            landscapeCorner = {PointerCornerX, PointerCornerY};
        EXPECT_EQ(PointerCornerX, landscapeCorner.x);
        EXPECT_EQ(PointerCornerY, landscapeCorner.y);
        EXPECT_LE(PointerCornerX, cx);
        EXPECT_LE(PointerCornerY, cy);
        EXPECT_GE(PointerCornerX - 120, 0);
        EXPECT_LT(PointerCornerY - 120, GetSystemMetrics(SM_CYSCREEN));
        if (c.locked) {
            const RECT cover = WindowRect(CoverWindow);
            EXPECT_EQ(cover.left, 0);
            EXPECT_EQ(cover.top, 0);
            EXPECT_EQ(cover.right, cx);
            EXPECT_EQ(cover.bottom, cy);
            EXPECT_TRUE(GetWindowLongPtrA(CoverWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
            // Same screen, same place; and within the mouse region.
            const RECT padlock = WindowRect(UnlockImageWindow);
            EXPECT_EQ(padlock.left, padlockBefore.left);
            EXPECT_EQ(padlock.top, padlockBefore.top);
            EXPECT_GE(padlock.left, PointerCornerX - 120);
            EXPECT_GE(padlock.top, PointerCornerY - 120);
        }
    }
}

TEST_F(CoverTest, ReassertPutsTheCoverBackOnTopUnlessThePromptIsOpen) {
    Lock();
    HWND other =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP | WS_VISIBLE,
                        0, 0, 300, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(Above(other, CoverWindow));
    AppController.UnlockPromptOpen = true;
    ReassertCover(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_TRUE(Above(other, CoverWindow));
    AppController.UnlockPromptOpen = false;
    ReassertCover(MainWindow, WM_TIMER, LockTimerId, 0);
    EXPECT_TRUE(Above(CoverWindow, other));
    EXPECT_TRUE(Above(UnlockImageWindow, CoverWindow));
    // The timer does it by itself every five seconds.
    SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(Above(other, CoverWindow));
    EXPECT_TRUE(WaitUntil([&] { return Above(CoverWindow, other); }, 15000));
    DestroyWindow(other);
}

TEST_F(CoverTest, ATapOnThePadlockAsksToUnlockOnRelease) {
    Lock();
    // As any loop, the main one or a dialog's, would dispatch them.
    SendMessageA(UnlockImageWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 100));
    EXPECT_FALSE(Unlocked);
    SendMessageA(UnlockImageWindow, WM_LBUTTONUP, 0, MAKELPARAM(40, 100));
    EXPECT_TRUE(Unlocked);
    EXPECT_EQ(CoverWindow, nullptr);
}

TEST_F(CoverTest, CoverCannotBeClosedAway) {
    Lock();
    SendMessageA(CoverWindow, WM_CLOSE, 0, 0);
    SendMessageA(CoverWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(CoverWindow));
    EXPECT_TRUE(IsWindow(UnlockImageWindow));
}

TEST_F(CoverTest, EdgeGesturePropertyIsSetOnTheCover) {
    Lock();
    EXPECT_EQ(DisableEdgeGestures(CoverWindow, true), S_OK);
    EXPECT_EQ(DisableEdgeGestures(CoverWindow, false), S_OK);
}

} // namespace
