// The real program watching a "browser" window of this test: it is closed on
// the title change after the one allowed video, the cover turns opaque, and
// the program stays responsive while that browser hangs.
#include "support/morrowby_process.h"
#include "support/product_settings.h"
#include "support/program_test.h"
#include "support/wait.h"
#include <gtest/gtest.h>
#include <atomic>
#include <string>

namespace {

const UINT SetTitleMessage = WM_APP + 1; // lParam: the title; wParam: ms to hang afterwards
const UINT TakeForegroundMessage = WM_APP + 2;

// The stand-in browser runs on its own thread so that it can hang while this
// thread keeps checking on the program.
struct Browser {
    HWND window = nullptr;
    HANDLE ready = nullptr;
    HANDLE thread = nullptr;
    std::atomic<int> closeRequests{0};
    std::atomic<bool> hanging{false};
};
Browser browser;

LRESULT CALLBACK BrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        ++browser.closeRequests;
        return 0; // stays open, as a browser asking "leave this page?" would
    case SetTitleMessage:
        SetWindowTextA(window, (const char*)lParam);
        if (wParam) {
            browser.hanging = true;
            Sleep((DWORD)wParam);
            browser.hanging = false;
        }
        return 0;
    case TakeForegroundMessage:
        SetForegroundWindow(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

DWORD WINAPI BrowserThread(LPVOID) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BrowserProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VideoLimitTestBrowser";
    RegisterClassA(&windowClass);
    browser.window =
        CreateWindowExA(0, "VideoLimitTestBrowser", "Song A - YouTube", WS_OVERLAPPEDWINDOW, 100,
                        100, 640, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(browser.window, SW_SHOW);
    SetForegroundWindow(browser.window);
    SetEvent(browser.ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(browser.window);
    return 0;
}

HWND FindCoverOf(DWORD processId) {
    return FindProcessWindowOfClass(processId, "Cover");
}

BYTE AlphaOf(HWND cover) {
    BYTE alpha = 0;
    COLORREF key = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(cover, &key, &alpha, &flags) || !(flags & LWA_ALPHA))
        return 0;
    return alpha;
}

class VideoLimit : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteProductSettings({{"EnableYouTubeCount", "1"},
                              {"YouTubeMax", "1"},
                              {"EnableTouchShield", "1"},
                              {"DisableKeyboard", "0"},
                              {"DisableMouse", "0"},
                              {"Prompt", "0"}});
        browser.window = nullptr;
        browser.closeRequests = 0;
        browser.hanging = false;
        browser.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        browser.thread = CreateThread(nullptr, 0, BrowserThread, nullptr, 0, nullptr);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(browser.ready, 5000));
    }
    void TearDown() override {
        program.Kill();
        // The browser may still be hanging; it leaves its loop once it wakes.
        PostMessageA(browser.window, WM_QUIT, 0, 0);
        WaitForSingleObject(browser.thread, 15000);
        CloseHandle(browser.thread);
        CloseHandle(browser.ready);
        ProgramTest::TearDown();
    }
    void SetBrowserTitle(const char* title, DWORD hangMs = 0) {
        if (hangMs)
            PostMessageA(browser.window, SetTitleMessage, hangMs, (LPARAM)title);
        else
            SendMessageA(browser.window, SetTitleMessage, 0, (LPARAM)title);
    }
    // The program can answer a message while it adds its tray icon, before the
    // splash pauses; its loop runs only once the nine seconds have gone by.
    bool WaitUntilMessageLoopRuns() {
        ULONGLONG start = GetTickCount64();
        if (!program.WaitUntilReady())
            return false;
        return WaitUntil(
            [&] {
                DWORD_PTR answer = 0;
                return GetTickCount64() - start >= 9000 &&
                       SendMessageTimeoutA(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 200,
                                           &answer) != 0;
            },
            30000);
    }
    MorrowbyProcess program;
};

TEST_F(VideoLimit, TheTitleChangeAfterTheAllowedVideoClosesTheBrowserAndCoversTheScreen) {
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitUntilMessageLoopRuns()) << "the program did not reach its message loop";

    // Lock from the tray while the video plays in the foreground.
    SendMessageA(browser.window, TakeForegroundMessage, 0, 0);
    ASSERT_EQ(browser.window, GetForegroundWindow());
    program.PostTrayMessage(WM_LBUTTONDBLCLK);
    HWND cover = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (cover = FindCoverOf(program.ProcessId())) != nullptr; }, 16000))
        << "the lock with the touch shield never engaged";
    EXPECT_NE(255, AlphaOf(cover)) << "the cover starts nearly transparent";

    // The next video is the one allowed: at least one poll goes by.
    PumpMessagesFor(500);
    SetBrowserTitle("Song B - YouTube");
    PumpMessagesFor(3000);
    EXPECT_EQ(0, browser.closeRequests);
    EXPECT_NE(255, AlphaOf(cover));

    // The one after ends viewing, even though the browser hangs at that moment.
    SetBrowserTitle("Song C - YouTube", 8000);
    ASSERT_TRUE(WaitUntil([&] { return browser.hanging.load(); }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return AlphaOf(cover) == 255; }, 5000))
        << "the cover did not turn opaque while the browser hung";
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer))
        << "the program waits on the hung browser";
    EXPECT_TRUE(browser.hanging) << "checked while the browser still hung";
    EXPECT_TRUE(WaitUntil([&] { return browser.closeRequests >= 1; }, 12000))
        << "the browser never got WM_CLOSE";
}

} // namespace
