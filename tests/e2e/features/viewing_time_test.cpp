// The real program with a one-minute viewing-time limit and one more minute
// for the video to finish, written to the registry as a parent would by hand:
// a video window of this test is closed on its first title change after the
// minute and not before; with no change the screen goes dark once the extra
// minute is over; with no video window it goes dark at the minute, also
// without the touch shield. Each lock's minute is timed from the moment it
// engages.
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/wait.h"
#include "support/z_order.h"
#include <gtest/gtest.h>

namespace {

const char* const LimitsKey = "Software\\Orvane\\Morrowby\\Limits";
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

HWND CoverOf(DWORD processId) {
    return FindProcessWindowOfClass(processId, "Cover");
}

bool Opaque(HWND cover) {
    BYTE alpha = 0;
    DWORD flags = 0;
    return cover && GetLayeredWindowAttributes(cover, nullptr, &alpha, &flags) &&
           (flags & LWA_ALPHA) && alpha == 255;
}

class ViewingTime : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CloseRequests = 0;
        RegSetKeyValueA(HKEY_CURRENT_USER, LimitsKey, "ViewingMinutes", REG_SZ, "1", 2);
        RegSetKeyValueA(HKEY_CURRENT_USER, LimitsKey, "FinishVideoMinutes", REG_SZ, "1", 2);
        // The walk that finds the video never looks at the very top window.
        guard = CreateTestWindow(L"", WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    }
    void TearDown() override {
        program.Kill();
        DestroyWindow(video);
        DestroyWindow(guard);
        ProgramTest::TearDown();
    }
    void Start(bool touchShield) {
        WriteProductSettings({{"EnableTouchShield", touchShield ? "1" : "0"},
                              {"DisableKeyboard", "0"},
                              {"DisableMouse", "0"},
                              {"Prompt", "0"}});
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.WaitUntilReady()) << "the program did not reach its message loop";
    }
    // Locks from the tray; with the shield, the lock engages when its cover comes.
    void LockWithShield() {
        program.PostTrayMessage(WM_LBUTTONDBLCLK);
        ASSERT_TRUE(WaitUntil([&] { return CoverOf(program.ProcessId()) != nullptr; }, 16000));
        engagedAt = GetTickCount();
        ASSERT_FALSE(Opaque(CoverOf(program.ProcessId())));
    }
    void Unlock() {
        program.PostTrayMessage(WM_LBUTTONDBLCLK);
        ASSERT_TRUE(WaitUntil([&] { return CoverOf(program.ProcessId()) == nullptr; }, 5000));
    }
    // What is left until ms after the engagement (which may lie ahead).
    DWORD Until(DWORD ms) const {
        const LONG left = static_cast<LONG>(engagedAt + ms - GetTickCount());
        return left > 0 ? static_cast<DWORD>(left) : 0;
    }
    // Pumps this thread's messages (the program posts WM_CLOSE) until then.
    void WaitUntilLocked(DWORD ms) { PumpMessagesFor(Until(ms)); }
    bool DarkWithin(DWORD ms) {
        return WaitUntil([&] { return Opaque(CoverOf(program.ProcessId())); }, Until(ms));
    }

    MorrowbyProcess program;
    HWND guard = nullptr, video = nullptr;
    DWORD engagedAt = 0;
};

TEST_F(ViewingTime, TheVideoFinishesThenTheScreenGoesDark) {
    video = CreateTestWindow(L"Song A - YouTube", 0);
    Start(true);

    // The title changes before the minute: that video plays on.
    LockWithShield();
    WaitUntilLocked(30000);
    SetWindowTextW(video, L"Song B - YouTube");
    WaitUntilLocked(64000);
    EXPECT_EQ(CloseRequests, 0);
    EXPECT_FALSE(Opaque(CoverOf(program.ProcessId()))) << "past the minute, the video finishes";
    // The first change after the minute ends it.
    SetWindowTextW(video, L"Song C - YouTube");
    const DWORD changedAt = GetTickCount();
    EXPECT_TRUE(WaitUntil([] { return CloseRequests > 0; }, Tick + Slack));
    EXPECT_TRUE(Opaque(CoverOf(program.ProcessId())));
    EXPECT_LT(GetTickCount() - changedAt, Tick + Slack);
    ASSERT_NO_FATAL_FAILURE(Unlock());

    // A fresh lock, a fresh minute: with no change, the extra minute is the end.
    const int closesBefore = CloseRequests;
    LockWithShield();
    WaitUntilLocked(118000);
    EXPECT_EQ(CloseRequests, closesBefore);
    EXPECT_FALSE(Opaque(CoverOf(program.ProcessId())));
    EXPECT_TRUE(DarkWithin(120000 + Tick + Slack)) << "not dark by two minutes and a tick";
    EXPECT_TRUE(WaitUntil([&] { return CloseRequests > closesBefore; }, Tick));
}

// Without the touch shield the lock has no cover until the minute: the lock
// engages at the end of the ten-second countdown.
TEST_F(ViewingTime, WithNothingWatchedTheScreenGoesDarkAtTheMinute) {
    Start(false);
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    engagedAt = GetTickCount() + 10000;
    WaitUntilLocked(60000 - Slack);
    EXPECT_EQ(CoverOf(program.ProcessId()), nullptr) << "dark before the minute";
    EXPECT_TRUE(DarkWithin(60000 + Tick + Slack));
    // The way out stays on the dark screen: the padlock (showing the moon).
    const HWND padlock = FindProcessWindowOfClass(program.ProcessId(), "UnlockImage");
    EXPECT_TRUE(IsWindowVisible(padlock));
    EXPECT_TRUE(Above(padlock, CoverOf(program.ProcessId())));
    ASSERT_NO_FATAL_FAILURE(Unlock());
}

} // namespace
