// The mouse lock's decisions at every display scale and monitor layout: the
// region derived from the padlock and the tray icon, the icon's rectangle as
// the shell (or only its notification area) gives it, and the own-window
// check, all as the hook decides them. The monitors and the shell's answer
// come through seams, as no virtual display here has mixed scales, and so
// does the window under a point on them.
#include "support/lock_fixture.h"
#include "lock/input_hooks.h"
#include "lock/shield.h"
#include "win/system_tray.h"

namespace {

struct Layout {
    const char* name;
    std::vector<MonitorArea> monitors;
    RECT icon;             // the shell's answer; empty: it cannot say
    RECT notificationArea; // the taskbar's, for a shell that cannot say
    bool shield;
};

// Taskbars at the bottom of the primary monitor, icons as tall as the taskbar.
const Layout Layouts[] = {
    {"100 %, many icons", {{{0, 0, 1920, 1080}, true, 96}}, {1400, 1040, 1424, 1080}, {}, false},
    {"125 % with the shield",
     {{{0, 0, 1920, 1080}, true, 120}},
     {1680, 1030, 1710, 1080},
     {},
     true},
    {"150 %", {{{0, 0, 1920, 1080}, true, 144}}, {1650, 1020, 1686, 1080}, {}, false},
    {"150 %, only the notification area known",
     {{{0, 0, 2560, 1600}, true, 144}},
     {},
     {2080, 1528, 2560, 1600},
     true},
    {"200 % with the shield",
     {{{0, 0, 3840, 2160}, true, 192}},
     {3500, 2080, 3548, 2160},
     {},
     true},
    {"100 % left of a 150 % primary",
     {{{-1920, 200, 0, 1280}, false, 96}, {{0, 0, 2880, 1620}, true, 144}},
     {2600, 1560, 2636, 1620},
     {},
     true},
    {"200 % above a 125 % primary, clock at the left edge",
     {{{-640, -2160, 3200, 0}, false, 192}, {{0, 0, 1920, 1200}, true, 120}},
     {},
     {0, 1140, 300, 1200},
     false},
};

const Layout* Current = nullptr;

HRESULT WINAPI LayoutIconRect(const NOTIFYICONIDENTIFIER*, RECT* rect) {
    *rect = Current->icon;
    return IsRectEmpty(rect) ? E_FAIL : S_OK;
}

// WindowFromPoint as Windows answers it, over this process's windows wherever
// they lie (Wine's finds none beyond its one screen).
HWND WINAPI TopWindowAt(POINT point) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        RECT area;
        if (IsWindowVisible(window) && GetWindowRect(window, &area) && PtInRect(&area, point))
            return window;
    }
    return nullptr;
}

// Stands in for a taskbar whose shell cannot place the icon: hidden, so no
// click lands on it.
struct FakeTaskbar {
    explicit FakeTaskbar(const RECT& area) {
        for (const char* name : {"Shell_TrayWnd", "TrayNotifyWnd"}) {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.lpszClassName = name;
            RegisterClassA(&windowClass);
        }
        const int width = area.right - area.left, height = area.bottom - area.top;
        taskbar = CreateWindowExA(0, "Shell_TrayWnd", "", WS_POPUP, area.left, area.top, width,
                                  height, nullptr, nullptr, nullptr, nullptr);
        CreateWindowExA(0, "TrayNotifyWnd", "", WS_CHILD, 0, 0, width, height, taskbar, nullptr,
                        nullptr, nullptr);
    }
    ~FakeTaskbar() { DestroyWindow(taskbar); }
    HWND taskbar;
};

class MouseLockAtScale : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        Shell.NotifyIconGetRect = LayoutIconRect;
        WindowAtPoint = TopWindowAt;
        Settings.DisableMouse = true;
    }
    void TearDown() override {
        LockFixture::TearDown();
        Shell.NotifyIconGetRect = savedIconRect;
        WindowAtPoint = savedWindowAt;
    }
    NotifyIconRectFunction savedIconRect = Shell.NotifyIconGetRect;
    WindowAtPointFunction savedWindowAt = WindowAtPoint;
};

POINT Centre(const RECT& area) {
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

bool TapPasses(POINT point) {
    return DecideMouseHookEvent(point, WM_LBUTTONDOWN).letThrough &&
           DecideMouseHookEvent(point, WM_LBUTTONUP).letThrough;
}

POINT RegionTopLeft() {
    const POINT corner = PointerRegion.Corner();
    return {corner.x - PointerCornerMargin, corner.y - PointerCornerMargin};
}

TEST_F(MouseLockAtScale, TapsReachThePadlockAndTheTrayIconAndNothingLeavesTheCorner) {
    for (const Layout& layout : Layouts) {
        SCOPED_TRACE(layout.name);
        Current = &layout;
        UseMonitors(layout.monitors);
        FakeTaskbar taskbar(layout.notificationArea);
        Settings.EnableTouchShield = layout.shield;
        ASSERT_TRUE(EngageAtOnce());
        const POINT region = RegionTopLeft();
        const RECT icon = IsRectEmpty(&layout.icon) ? layout.notificationArea : layout.icon;
        EXPECT_TRUE(TapPasses(Centre(icon)));
        if (layout.shield) {
            RECT padlock = {};
            GetWindowRect(Shield.UnlockImageWindow(), &padlock);
            EXPECT_TRUE(TapPasses(Centre(padlock)));
        }
        // The taskbar beside the icon: swallowed, unless a cover lies over it
        // and takes the click itself.
        const POINT beside = {icon.left - 4, (icon.top + icon.bottom) / 2};
        EXPECT_EQ(DecideMouseHookEvent(beside, WM_LBUTTONDOWN).letThrough, layout.shield);
        // Every monitor's middle and top-left, and the virtual screen's.
        std::vector<POINT> away;
        for (const MonitorArea& monitor : layout.monitors) {
            away.push_back(Centre(monitor.Bounds));
            away.push_back({monitor.Bounds.left, monitor.Bounds.top});
        }
        for (POINT point : away)
            for (UINT message : {(UINT)WM_MOUSEMOVE, (UINT)WM_LBUTTONDOWN}) {
                const MouseDecision decision = DecideMouseHookEvent(point, message);
                EXPECT_FALSE(decision.letThrough) << point.x << "," << point.y;
                EXPECT_GE(decision.cursor.x, region.x);
                EXPECT_GE(decision.cursor.y, region.y);
            }
        // A display change leaves every point of the region within reach.
        SendMessageA(MainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
        EXPECT_LE(RegionTopLeft().x, region.x);
        EXPECT_LE(RegionTopLeft().y, region.y);
        RequestUnlock();
    }
}

} // namespace
