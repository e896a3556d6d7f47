// The real program with a one-minute viewing-time limit and one more minute
// for the video to finish, written to the registry as a parent would by hand,
// and only the limit locking (no touch shield), so that nothing covers the
// screen until the end. Each lock engages ten seconds after the tray's
// double-tap, and its minute is timed from there.
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/wait.h"
#include "support/z_order.h"
#include <gtest/gtest.h>

namespace {

const DWORD Countdown = 10000;
const DWORD Tick = 2000;  // the program's poll
const DWORD Slack = 1500; // a busy machine's lateness, on top of a tick

int CloseRequests = 0;

LRESULT CALLBACK VideoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        CloseRequests++;
        return 0; // stays, as a browser asking "leave this page?" would
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateTestWindow(const wchar_t* title, DWORD exStyle) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = VideoProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ViewingTimeTestVideo";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(exStyle, windowClass.lpszClassName, title, WS_POPUP, 100, 100,
                                  320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

class ViewingTime : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CloseRequests = 0;
        const char* const limits = "Software\\Orvane\\Morrowby\\Limits";
        RegSetKeyValueA(HKEY_CURRENT_USER, limits, "ViewingMinutes", REG_SZ, "1", 2);
        RegSetKeyValueA(HKEY_CURRENT_USER, limits, "FinishVideoMinutes", REG_SZ, "1", 2);
        WriteProductSettings({{"EnableTouchShield", "0"}, {"DisableKeyboard", "0"}});
        // The walk that finds the video never looks at the very top window.
        guard = CreateTestWindow(L"", WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    }
    void TearDown() override {
        program.Kill();
        DestroyWindow(video);
        DestroyWindow(guard);
        ProgramTest::TearDown();
    }
    HWND Cover() const { return FindProcessWindowOfClass(program.ProcessId(), "Cover"); }
    bool Dark() const {
        BYTE alpha = 0;
        DWORD flags = 0;
        return GetLayeredWindowAttributes(Cover(), nullptr, &alpha, &flags) &&
               (flags & LWA_ALPHA) && alpha == 255;
    }
    void Lock() {
        program.PostTrayMessage(WM_LBUTTONDBLCLK);
        engagedAt = GetTickCount() + Countdown;
    }
    void Unlock() {
        program.PostTrayMessage(WM_LBUTTONDBLCLK);
        ASSERT_TRUE(WaitUntil([&] { return Cover() == nullptr; }, 5000));
    }
    // What is left until ms after the engagement (which may lie ahead).
    DWORD Until(DWORD ms) const {
        const LONG left = static_cast<LONG>(engagedAt + ms - GetTickCount());
        return left > 0 ? static_cast<DWORD>(left) : 0;
    }
    // Pumps this thread's messages (the program posts WM_CLOSE) until then.
    void WaitUntilLocked(DWORD ms) { PumpMessagesFor(Until(ms)); }
    bool DarkBy(DWORD ms) {
        return WaitUntil([&] { return Dark(); }, Until(ms));
    }

    MorrowbyProcess program;
    HWND guard = nullptr, video = nullptr;
    DWORD engagedAt = 0;
};

TEST_F(ViewingTime, TheVideoFinishesThenTheScreenGoesDark) {
    video = CreateTestWindow(L"Song A - YouTube", 0);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitUntilReady());

    // A title change before the minute: that video plays on, and past the
    // minute it may finish. The first change after the minute ends it.
    Lock();
    WaitUntilLocked(30000);
    SetWindowTextW(video, L"Song B - YouTube");
    WaitUntilLocked(64000);
    EXPECT_EQ(CloseRequests, 0);
    EXPECT_EQ(Cover(), nullptr);
    SetWindowTextW(video, L"Song C - YouTube");
    EXPECT_TRUE(WaitUntil([] { return CloseRequests == 1; }, Tick + Slack));
    // The window is asked to close first; the covers come right after.
    EXPECT_TRUE(WaitUntil([&] { return Dark(); }, 1000));
    ASSERT_NO_FATAL_FAILURE(Unlock());

    // A fresh minute: with no change, the extra minute is the end.
    Lock();
    WaitUntilLocked(118000);
    EXPECT_EQ(CloseRequests, 1);
    EXPECT_EQ(Cover(), nullptr);
    EXPECT_TRUE(DarkBy(120000 + Tick + Slack)) << "not dark by two minutes and a tick";
    EXPECT_TRUE(WaitUntil([] { return CloseRequests == 2; }, Tick));
    ASSERT_NO_FATAL_FAILURE(Unlock());

    // Nothing watched: dark at the minute, with the padlock as the way out.
    DestroyWindow(video);
    video = nullptr;
    Lock();
    WaitUntilLocked(60000 - Slack);
    EXPECT_EQ(Cover(), nullptr) << "dark before the minute";
    EXPECT_TRUE(DarkBy(60000 + Tick + Slack));
    const HWND padlock = FindProcessWindowOfClass(program.ProcessId(), "UnlockImage");
    EXPECT_TRUE(IsWindowVisible(padlock));
    EXPECT_TRUE(Above(padlock, Cover()));
    ASSERT_NO_FATAL_FAILURE(Unlock());
}

} // namespace
