// The video counter against real top-level windows whose titles change.
#include "video_windows.h"
#include "support/wait.h"
#include "features/video_counter.h"
#include "res/timer_ids.h"
#include "settings/settings_store.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstring>
#include <string>

namespace {

void Tick() {
    CountVideosTick(nullptr, WM_TIMER, VideoTimerId, 0);
}

void ChangeTitle(HWND window, const std::string& title) {
    SetWindowTextA(window, title.c_str());
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// WM_CLOSE is posted to the browser, so it arrives once this thread pumps.
bool CloseArrives(HWND window, int count = 1) {
    return WaitUntil([&] { return CloseRequests(window) >= count; }, 2000);
}
int ClosesAfterPumping(HWND window) {
    PumpMessagesFor(50);
    return CloseRequests(window);
}

// What the lock sets for the limit (its covers turn opaque), counted.
int LimitActions = 0;
void CountLimitAction() {
    LimitActions++;
}

class VideoCounter : public ::testing::Test {
  protected:
    void SetUp() override {
        Settings.YouTubeMax = 1;
        Videos.VideoCount = 0;
        Videos.LastWindowTitle.clear();
        LimitActions = 0;
        SetVideoLimitAction(CountLimitAction);
        CreateTopGuardWindow();
    }
    void TearDown() override {
        SetVideoLimitAction(nullptr);
        DestroyTestWindows();
        PumpMessagesFor(0);
    }
    // The video window is the foreground window when the lock engages.
    HWND LockWhilePlaying(const std::string& title) {
        HWND video = CreateVideoWindow(title);
        SetForegroundWindow(video);
        EXPECT_EQ(video, GetForegroundWindow());
        EXPECT_NE(video, GetTopWindow(nullptr)) << "the scan would never see the video window";
        ResetVideoCount();
        SeedLastWindowTitle();
        return video;
    }
};

TEST_F(VideoCounter, WorkedExampleWithOneVideoAllowed) {
    HWND video = LockWhilePlaying("Song A - YouTube");

    Tick(); // Song A plays on
    EXPECT_EQ(0, Videos.VideoCount);
    ChangeTitle(video, "Song B - YouTube");
    Tick();
    EXPECT_EQ(1, Videos.VideoCount);
    EXPECT_EQ(0, ClosesAfterPumping(video));
    EXPECT_EQ(0, LimitActions) << "the covers stay see-through below the limit";

    ChangeTitle(video, "Song C - YouTube");
    Tick();
    EXPECT_TRUE(CloseArrives(video));
    EXPECT_EQ(2, Videos.VideoCount);
    EXPECT_EQ(1, LimitActions);

    Tick(); // the browser stayed open with the same title: nothing more
    EXPECT_EQ(1, ClosesAfterPumping(video));
    EXPECT_EQ(1, LimitActions);
    ChangeTitle(video, "Song D - YouTube");
    Tick(); // every further change ends viewing again
    EXPECT_TRUE(CloseArrives(video, 2));
    EXPECT_EQ(2, LimitActions);
}

class VideoLimit : public VideoCounter, public ::testing::WithParamInterface<int> {};

TEST_P(VideoLimit, TheChangeAfterTheLastAllowedVideoClosesTheBrowser) {
    const int limit = GetParam();
    Settings.YouTubeMax = limit;
    HWND video = LockWhilePlaying("Song 0 - YouTube");
    for (int change = 1; change <= limit + 1; change++) {
        ChangeTitle(video, "Song " + std::to_string(change) + " - YouTube");
        Tick();
        EXPECT_EQ(change == limit + 1 ? 1 : 0, ClosesAfterPumping(video)) << "change " << change;
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, VideoLimit, ::testing::Values(1, 2, 3, 4, 5));

struct TitleRow {
    const char* title;
    bool qualifies;
};

class VideoTitle : public VideoCounter, public ::testing::WithParamInterface<TitleRow> {};

TEST_P(VideoTitle, OnlyTitlesHoldingTheMarkerCount) {
    const TitleRow row = GetParam();
    CreateVideoWindow(row.title);
    Tick();
    EXPECT_EQ(row.qualifies ? 1 : 0, Videos.VideoCount);
    EXPECT_EQ(row.qualifies ? Wide(row.title) : L"", Videos.LastWindowTitle);
}

INSTANTIATE_TEST_SUITE_P(Titles, VideoTitle,
                         ::testing::Values(TitleRow{"Song - YouTube", true},
                                           TitleRow{"Song - YouTube Music playlist", true},
                                           TitleRow{"- YouTube", true},
                                           TitleRow{"Song - youtube", false},
                                           TitleRow{"Song -YouTube", false},
                                           TitleRow{"YouTube", false}));

TEST_F(VideoCounter, OnlyTheUpperOfTwoVideoWindowsIsWatched) {
    HWND lower = CreateVideoWindow("One - YouTube");
    HWND upper = CreateVideoWindow("Two - YouTube");
    Tick();
    EXPECT_EQ(L"Two - YouTube", Videos.LastWindowTitle);
    EXPECT_EQ(1, Videos.VideoCount);

    ChangeTitle(lower, "Three - YouTube");
    Tick();
    EXPECT_EQ(1, Videos.VideoCount);
    ChangeTitle(upper, "Four - YouTube");
    Tick();
    EXPECT_TRUE(CloseArrives(upper));
    EXPECT_EQ(0, ClosesAfterPumping(lower));
}

TEST_F(VideoCounter, TheVeryTopWindowIsNeverExamined) {
    HWND video = CreateVideoWindow("Song - YouTube");
    SetWindowPos(video, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(video, GetTopWindow(nullptr));
    Tick();
    EXPECT_EQ(0, Videos.VideoCount);
    EXPECT_EQ(L"", Videos.LastWindowTitle);
}

// A tap on the tray icon leaves the taskbar in front when the lock engages:
// the video playing is still the one the count starts from.
TEST_F(VideoCounter, TheSeedIsTheVideoWindowWhateverIsInFront) {
    HWND video = CreateVideoWindow("Song A - YouTube");
    HWND notes = CreateVideoWindow("Shopping list");
    SetForegroundWindow(notes);
    ASSERT_EQ(notes, GetForegroundWindow());
    SeedLastWindowTitle();
    Tick();
    EXPECT_EQ(0, Videos.VideoCount);
    ChangeTitle(video, "Song B - YouTube");
    Tick();
    EXPECT_EQ(0, ClosesAfterPumping(video)) << "the one video allowed";
    ChangeTitle(video, "Song C - YouTube");
    Tick();
    EXPECT_TRUE(CloseArrives(video));
}

// Read as ANSI, both titles would be "????? - YouTube" and never differ.
TEST_F(VideoCounter, TitlesInAnyScriptAreTwoVideos) {
    HWND video = LockWhilePlaying("Song - YouTube");
    SetWindowTextW(video, L"\x041F\x0435\x0441\x043D\x044F - YouTube");
    Tick();
    SetWindowTextW(video, L"\x041C\x0438\x0448\x043A\x0430 - YouTube");
    Tick();
    EXPECT_EQ(2, Videos.VideoCount);
    EXPECT_EQ(1, LimitActions);
}

// The count that comes, changes and goes while one video plays is that video;
// numbered episodes are not.
TEST_F(VideoCounter, ANotificationCountIsLeftOutOnlyWhereTheRestIsUnchanged) {
    Settings.YouTubeMax = 5;
    HWND video = LockWhilePlaying("Song A - YouTube");
    for (const char* title : {"(3) Song A - YouTube", "(4) Song A - YouTube", "Song A - YouTube",
                              "(1) Peppa Pig - YouTube", "(2) Peppa Pig - YouTube"}) {
        ChangeTitle(video, title);
        Tick();
    }
    EXPECT_EQ(2, Videos.VideoCount);
}

TEST_F(VideoCounter, LongTitlesAreComparedByTheirFirst511Characters) {
    std::string title = "Long - YouTube " + std::string(600, 'a');
    HWND video = CreateVideoWindow(title);
    Tick();
    EXPECT_EQ(Wide(title.substr(0, 511)), Videos.LastWindowTitle);
    EXPECT_EQ(1, Videos.VideoCount);

    title[550] = 'b'; // beyond what is read: the same video
    ChangeTitle(video, title);
    Tick();
    EXPECT_EQ(1, Videos.VideoCount);
    title[300] = 'b';
    ChangeTitle(video, title);
    Tick();
    EXPECT_EQ(2, Videos.VideoCount);
}

TEST_F(VideoCounter, AMarkerBeyondTheReadTitleIsNotSeen) {
    CreateVideoWindow(std::string(520, 'x') + " - YouTube");
    Tick();
    EXPECT_EQ(0, Videos.VideoCount);
}

TEST_F(VideoCounter, TheSameVideoBackAfterAnotherPageIsNotCountedAgain) {
    HWND video = LockWhilePlaying("Song A - YouTube");
    ChangeTitle(video, "YouTube"); // e.g. the home page, no marker
    Tick();
    EXPECT_EQ(L"Song A - YouTube", Videos.LastWindowTitle);
    ChangeTitle(video, "Song A - YouTube");
    Tick();
    EXPECT_EQ(0, Videos.VideoCount);
}

TEST_F(VideoCounter, WithNoVideoWindowTheLimitStillTurnsTheCoversOpaque) {
    StopVideoAtLimit(nullptr);
    EXPECT_EQ(1, LimitActions);
}

TEST_F(VideoCounter, ANewLockCountsFromZeroAgain) {
    HWND video = LockWhilePlaying("Song A - YouTube");
    ChangeTitle(video, "Song B - YouTube");
    Tick();
    ChangeTitle(video, "Song C - YouTube");
    Tick();
    ASSERT_TRUE(CloseArrives(video));

    // Unlock and lock again: the countdown zeroes the count, the lock seeds the title.
    SetForegroundWindow(video);
    ResetVideoCount();
    SeedLastWindowTitle();
    ChangeTitle(video, "Song D - YouTube");
    Tick();
    EXPECT_EQ(1, ClosesAfterPumping(video)) << "one video is allowed again";
    ChangeTitle(video, "Song E - YouTube");
    Tick();
    EXPECT_TRUE(CloseArrives(video, 2));
}

// A browser that hangs when asked to close (stuck, or asking "leave this
// page?"): the tick, which runs on the thread of the input hooks, must not wait.
struct HungBrowser {
    HWND window = nullptr;
    HANDLE ready = nullptr;
    std::atomic<int> closeRequests{0};
};
HungBrowser* hungBrowser = nullptr;

LRESULT CALLBACK HungBrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++hungBrowser->closeRequests;
        Sleep(2000);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI HungBrowserThread(LPVOID) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HungBrowserProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "HungBrowserTestWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "HungBrowserTestWindow", "Stuck - YouTube", WS_POPUP, 50, 50,
                                  200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    hungBrowser->window = window;
    SetEvent(hungBrowser->ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(window);
    return 0;
}

TEST_F(VideoCounter, AHungBrowserDoesNotHoldUpTheTick) {
    HungBrowser browser;
    browser.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    hungBrowser = &browser;
    HANDLE thread = CreateThread(nullptr, 0, HungBrowserThread, nullptr, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(browser.ready, 5000));
    Videos.VideoCount = 1;
    Videos.LastWindowTitle = L"Earlier - YouTube";

    ULONGLONG start = GetTickCount64();
    Tick();
    ULONGLONG took = GetTickCount64() - start;

    EXPECT_LT(took, 1000u); // the browser hangs for two seconds
    EXPECT_EQ(1, LimitActions) << "the covers go opaque at once";
    EXPECT_TRUE(WaitUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 5000));
    EXPECT_EQ(1, browser.closeRequests);
    CloseHandle(thread);
    CloseHandle(browser.ready);
    hungBrowser = nullptr;
}

} // namespace
