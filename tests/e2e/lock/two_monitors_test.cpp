// The real program on a display of two monitors (a session of its own: two
// Xvfb screens joined by Xinerama): while locked, each monitor has its own
// cover and the padlock stays above them all.
#include "lock_driver.h"
#include "support/product_settings.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<MONITORINFO>*>(list)->push_back(info);
    return TRUE;
}

// The program's visible covers, topmost first.
std::vector<HWND> CoversOf(DWORD processId) {
    std::vector<HWND> covers;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && strcmp(name, "Cover") == 0 && IsWindowVisible(window))
            covers.push_back(window);
    }
    return covers;
}

bool Holds(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST(TwoMonitors, EachMonitorHasItsOwnCoverWhileLocked) {
    if (!getenv("MORROWBY_XVFB_SCREENS"))
        GTEST_SKIP() << "runs in the two-monitor session";
    std::vector<MONITORINFO> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    ASSERT_EQ(monitors.size(), 2u) << "the session should show two monitors";

    KillAllMorrowby();
    WriteProductSettings({}); // keyboard and touch shield, no unlock word
    MorrowbyProcess program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitUntilReady());
    const DWORD id = program.ProcessId();
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return CoversOf(id).size() == 2; }, 30000));
    PumpMessagesFor(500);

    const std::vector<HWND> covers = CoversOf(id);
    EXPECT_EQ(covers.size(), 2u);
    const HWND padlock = FindProcessWindow(id, "UnlockImage");
    ASSERT_NE(padlock, nullptr);
    RECT padlockRect = {};
    GetWindowRect(padlock, &padlockRect);
    for (const MONITORINFO& monitor : monitors) {
        bool covered = false;
        for (HWND cover : covers) {
            RECT rect = {};
            GetWindowRect(cover, &rect);
            covered = covered || Holds(rect, monitor.rcMonitor);
        }
        EXPECT_TRUE(covered) << "a monitor of " << monitor.rcMonitor.right << " x "
                             << monitor.rcMonitor.bottom << " is not covered";
        if (monitor.dwFlags & MONITORINFOF_PRIMARY) {
            EXPECT_TRUE(Holds(monitor.rcMonitor, padlockRect));
        }
    }
    // The covers overlap here (both screens sit at the origin); the padlock,
    // the way out, must still lie above every one of them.
    for (HWND window = GetTopWindow(nullptr); window != padlock;
         window = GetWindow(window, GW_HWNDNEXT)) {
        ASSERT_NE(window, nullptr);
        for (HWND cover : covers)
            EXPECT_NE(window, cover) << "a cover lies above the padlock";
    }

    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return CoversOf(id).empty(); }, 5000));
}

} // namespace
