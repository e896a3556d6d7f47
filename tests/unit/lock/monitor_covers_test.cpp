// The touch shield on every monitor, with the monitor list laid out by the
// test: side by side, primary on the right, stacked, turned, and monitors
// that come and go while locked.
#include "support/lock_fixture.h"
#include "support/z_order.h"
#include "features/video_counter.h"
#include "lock/cover_geometry.h"
#include "lock/input_hooks.h"
#include "lock/shield.h"
#include "win/png_image.h"

namespace {

typedef std::vector<MonitorArea> Layout;

const Layout Single = {{{0, 0, 1280, 800}, true, 96}};
const Layout SingleAt150 = {{{0, 0, 1280, 800}, true, 144}};
const Layout TurnedSingle = {{{0, 0, 800, 1280}, true, 96}};
const Layout SideBySide = {{{0, 0, 1920, 1080}, true, 96}, {{1920, 0, 3200, 1024}, false, 96}};
const Layout PrimaryOnTheRight = {{{-1280, 56, 0, 1080}, false, 96},
                                  {{0, 0, 1920, 1080}, true, 96}};
const Layout StackedAbove = {{{0, 0, 1920, 1080}, true, 96}, {{-320, -1440, 2240, 0}, false, 96}};
const Layout TurnedBesideLandscape = {{{0, 0, 1080, 1920}, true, 96},
                                      {{1080, 0, 3000, 1080}, false, 96}};
const Layout Three = {{{-1280, 0, 0, 1024}, false, 96},
                      {{0, 0, 1920, 1080}, true, 96},
                      {{1920, -200, 3000, 1720}, false, 96}};

class MonitorCoverTest : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        Settings.EnableTouchShield = true;
    }
};

bool Holds(const RECT& outer, const RECT& inner) {
    RECT both;
    UnionRect(&both, &outer, &inner);
    return EqualRect(&both, &outer);
}

std::vector<HWND> CoversNow() {
    std::vector<HWND> covers;
    for (HWND cover = FindWindowExA(nullptr, nullptr, "Cover", nullptr); cover;
         cover = FindWindowExA(nullptr, cover, "Cover", nullptr))
        covers.push_back(cover);
    return covers;
}

// One visible topmost cover per monitor, each monitor wholly under a cover,
// the primary cover never smaller than the maximized rectangle, and the padlock
// on the primary monitor, above every cover and inside the mouse region, which
// starts on the virtual screen.
void ExpectShieldFits(const Layout& layout) {
    const std::vector<HWND> covers = CoversNow();
    EXPECT_EQ(covers.size(), layout.size());
    RECT virtualScreen = layout[0].Bounds, primary = {};
    int primaryDpi = 96;
    for (const MonitorArea& monitor : layout) {
        UnionRect(&virtualScreen, &virtualScreen, &monitor.Bounds);
        if (monitor.Primary) {
            primary = monitor.Bounds;
            primaryDpi = monitor.Dpi;
        }
        bool covered = false;
        for (HWND cover : covers)
            covered = covered || Holds(WindowRect(cover), monitor.Bounds);
        EXPECT_TRUE(covered) << "monitor at " << monitor.Bounds.left << "," << monitor.Bounds.top;
    }
    const RECT maximized = {0, 0, GetSystemMetrics(SM_CXMAXIMIZED),
                            GetSystemMetrics(SM_CYMAXIMIZED) + 30};
    EXPECT_TRUE(Holds(WindowRect(Shield.CoverWindow()), primary));
    EXPECT_TRUE(Holds(WindowRect(Shield.CoverWindow()), maximized));
    for (HWND cover : covers) {
        EXPECT_TRUE(IsWindowVisible(cover));
        EXPECT_TRUE(GetWindowLongPtrA(cover, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(Above(Shield.UnlockImageWindow(), cover));
    }
    const RECT padlock = WindowRect(Shield.UnlockImageWindow());
    EXPECT_TRUE(Holds(primary, padlock));
    // Drawn for the primary monitor's scale.
    EXPECT_EQ(padlock.right - padlock.left, ArtworkSize(Artwork::Padlock, primaryDpi).cx);
    const POINT corner = PointerRegion.Corner();
    const RECT region = {corner.x - PointerCornerMargin, corner.y - PointerCornerMargin,
                         virtualScreen.right, virtualScreen.bottom};
    EXPECT_TRUE(Holds(region, padlock)) << "region from " << region.left << "," << region.top;
    EXPECT_TRUE(PtInRect(&virtualScreen, {region.left, region.top}));
}

struct DisplayChange {
    const char* name;
    const Layout* atLock;
    const Layout* after;
};

TEST_F(MonitorCoverTest, CoversFollowEveryLayoutAndEveryDisplayChange) {
    const DisplayChange changes[] = {
        {"single monitor turned to portrait", &Single, &TurnedSingle},
        {"single monitor set to 150 %, and back", &Single, &SingleAt150},
        {"single monitor at 150 % set to 100 %", &SingleAt150, &Single},
        {"side by side, the resolution changed back", &SideBySide, &SideBySide},
        {"primary on the right, the left one unplugged", &PrimaryOnTheRight, &Single},
        {"a monitor stacked above plugged in", &Single, &StackedAbove},
        {"turned primary beside a landscape one, turned back", &TurnedBesideLandscape, &SideBySide},
        {"three monitors, the right one unplugged", &Three, &PrimaryOnTheRight},
    };
    for (const DisplayChange& change : changes) {
        SCOPED_TRACE(change.name);
        UseMonitors(*change.atLock);
        ASSERT_TRUE(EngageAtOnce());
        ExpectShieldFits(*change.atLock);
        const int dpiBefore = change.atLock->front().Dpi, dpi = change.after->front().Dpi;
        FakeMonitors = *change.after;
        // A new scale comes to the windows on the monitor, a new layout to all.
        if (dpi != dpiBefore)
            SendMessageA(Shield.CoverWindow(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
        else
            SendMessageA(MainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
        ExpectShieldFits(*change.after);
        RequestUnlock();
        EXPECT_TRUE(CoversNow().empty());
    }
}

TEST_F(MonitorCoverTest, ReraiseAndTheVideoLimitReachEveryCover) {
    UseMonitors(SideBySide);
    ASSERT_TRUE(EngageAtOnce());
    HWND other =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP | WS_VISIBLE,
                        0, 0, 300, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ReassertCover(MainWindow, WM_TIMER, LockTimerId, 0);
    for (HWND cover : CoversNow())
        EXPECT_TRUE(Above(cover, other));
    DestroyWindow(other);

    // A monitor plugged in after the limit gets an opaque cover as well.
    StopVideoAtLimit(nullptr);
    FakeMonitors = Three;
    SendMessageA(MainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    ASSERT_EQ(CoversNow().size(), 3u);
    for (HWND cover : CoversNow()) {
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(cover, nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, 255);
        EXPECT_TRUE(Above(Shield.UnlockImageWindow(), cover));
    }
}

} // namespace
