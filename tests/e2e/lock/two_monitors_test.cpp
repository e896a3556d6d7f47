// The real program on a display of two monitors (a session of its own: two
// Xvfb screens joined by Xinerama, both at the origin): while locked, each
// monitor has its own cover and the padlock stays above them all.
#include "lock_driver.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*area);
    return TRUE;
}

// The program's covers, topmost first; *abovePadlock counts those above its
// padlock (-1 without a padlock). Only shown windows count, as a user sees
// them: while the shield is being built, the padlock exists for a moment
// below the covers before it is put on top and shown.
std::vector<RECT> Covers(DWORD processId, int* abovePadlock) {
    std::vector<RECT> covers;
    *abovePadlock = -1;
    const HWND padlock = FindProcessWindow(processId, "UnlockImage");
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (!IsWindowVisible(window))
            continue;
        if (window == padlock)
            *abovePadlock = static_cast<int>(covers.size());
        char name[16] = {};
        DWORD owner = 0;
        GetClassNameA(window, name, sizeof name);
        GetWindowThreadProcessId(window, &owner);
        RECT area;
        if (owner == processId && strcmp(name, "Cover") == 0 && GetWindowRect(window, &area))
            covers.push_back(area);
    }
    return covers;
}

using TwoMonitors = ProgramTest;

TEST_F(TwoMonitors, EachMonitorHasItsOwnCoverWhileLocked) {
    if (!getenv("MORROWBY_XVFB_SCREENS"))
        GTEST_SKIP() << "runs in the two-monitor session";
    std::vector<RECT> monitors, covers;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    ASSERT_EQ(monitors.size(), 2u) << "the session should show two monitors";
    WriteProductSettings({}); // keyboard and touch shield, no unlock word
    MorrowbyProcess program;
    ASSERT_TRUE(program.Start() && program.WaitUntilReady());
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    int abovePadlock = -1;
    ASSERT_TRUE(WaitUntil(
        [&] {
            covers = Covers(program.ProcessId(), &abovePadlock);
            return covers.size() == 2 && abovePadlock >= 0;
        },
        30000));
    EXPECT_EQ(abovePadlock, 0) << "a cover hides the padlock";
    for (const RECT& monitor : monitors) {
        bool covered = false;
        for (const RECT& cover : covers)
            covered = covered || (cover.left <= monitor.left && cover.top <= monitor.top &&
                                  cover.right >= monitor.right && cover.bottom >= monitor.bottom);
        EXPECT_TRUE(covered) << "a monitor of " << monitor.right << " x " << monitor.bottom;
    }
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(
        WaitUntil([&] { return Covers(program.ProcessId(), &abovePadlock).empty(); }, 5000));
}

} // namespace
