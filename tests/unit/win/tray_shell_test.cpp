// Round trips through the real notification area of the test desktop. Without
// a desktop shell, Wine shows each icon as a window of class
// "__winex11_tray_icon" inside a "__winex11_standalone_tray" window.
#include "tray_test_support.h"
#include "app/main_window.h"
#include "support/tray_recorder.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <string>

static int CountIconWindows() {
    int count = 0;
    HWND tray = nullptr;
    while ((tray = FindWindowExA(nullptr, tray, "__winex11_standalone_tray", nullptr)))
        for (HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); icon;
             icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr))
            if (IsWindowVisible(tray) && IsWindowVisible(icon))
                count++;
    return count;
}

static bool ShellTooltipShows(const std::string& text) {
    bool found = false;
    HWND tip = nullptr;
    while (!found && (tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr))) {
        char buffer[300] = "";
        SendMessageA(tip, WM_GETTEXT, sizeof buffer, (LPARAM)buffer);
        found = text == buffer;
    }
    return found;
}

class TrayShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartTrayRecording(true); // recorded and passed on to the real shell
        owner = CreateTrayOwnerWindow();
        before = CountIconWindows();
    }
    void TearDown() override {
        DestroyWindow(owner);
        StopTrayRecording();
    }
    HWND owner = nullptr;
    int before = 0;
};

TEST_F(TrayShellTest, TheIconShowsTakesABalloonAndGoesAway) {
    CSystemTray tray;
    ASSERT_TRUE(InstallLikeStartup(tray, owner, L"Tap icon for menu - Double-tap to Lock"));
    EXPECT_TRUE(WaitUntil([&] { return CountIconWindows() == before + 1; }, 5000));
    EXPECT_TRUE(tray.SetTrayIcon((UINT)131));
    EXPECT_TRUE(tray.ShowTrayBalloon(L" Now locked ", nullptr, 0, 10));
    EXPECT_TRUE(WaitUntil([] { return ShellTooltipShows(" Now locked "); }, 8000));
    EXPECT_TRUE(tray.RemoveFromTray());
    EXPECT_TRUE(WaitUntil([&] { return CountIconWindows() == before; }, 5000));
}

TEST_F(TrayShellTest, ATaskbarAnnouncementWhileTheIconShowsKeepsOneIcon) {
    CSystemTray tray;
    ASSERT_TRUE(InstallLikeStartup(tray, owner, L"Tap icon for menu - Double-tap to Lock"));
    ASSERT_TRUE(WaitUntil([&] { return CountIconWindows() == before + 1; }, 5000));
    SendMessageA(tray.HiddenWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    PumpMessagesFor(300);
    EXPECT_EQ(CountIconWindows(), before + 1);
    // Still known as showing: changes reach the shell and succeed.
    RecordedTrayCalls().clear();
    EXPECT_TRUE(tray.SetTrayTooltip(L"Double-Tap icon to UnLock"));
    EXPECT_EQ(RecordedTraySequence(),
              std::vector<std::string>{"modify tip=\"Double-Tap icon to UnLock\""});
    EXPECT_TRUE(tray.RemoveFromTray());
    EXPECT_TRUE(WaitUntil([&] { return CountIconWindows() == before; }, 5000));
}
