// The viewing-time limit in a lock: what it engages and shows, what its tick
// does to the watched window, the covers, the padlock and the media sessions,
// and that an unlock takes all of it away. The tick is called as its timer
// would call it, with the lock's clock and the sessions replaced.
#include "support/lock_fixture.h"
#include "features/active_clock.h"
#include "features/media_session.h"
#include "features/video_counter.h"
#include "lock/cover_geometry.h"
#include "lock/shield.h"
#include "lock/viewing_limit_run.h"
#include "settings/limits_store.h"
#include <memory>

namespace {

// The system's media sessions, as a test sets them.
struct ScriptedMedia {
    MediaSnapshot now;
    int polls = 0, pauses = 0;
    bool open = false;
};
ScriptedMedia Media;

class ScriptedSessions : public MediaSessionSource {
  public:
    ScriptedSessions() { Media.open = true; }
    ~ScriptedSessions() override { Media.open = false; }
    MediaSnapshot Poll() override {
        Media.polls++;
        return Media.now;
    }
    void Pause() override {
        Media.pauses++;
        if (Media.now.Status == MediaPlaying)
            Media.now.Status = MediaPaused;
    }
};
std::unique_ptr<MediaSessionSource> OpenScriptedSessions() {
    return std::unique_ptr<MediaSessionSource>(new ScriptedSessions());
}

ULONGLONG AwakeMs = 0, TickMs = 0;
BOOL HasUnbiasedTime = TRUE;
BOOL WINAPI FakeUnbiasedTime(PULONGLONG time) {
    *time = AwakeMs * 10000;
    return HasUnbiasedTime;
}
ULONGLONG WINAPI FakeTickCount() {
    return TickMs;
}

int TwoMonitors(MonitorArea* monitors, int capacity) {
    const MonitorArea both[] = {{{0, 0, 1280, 800}, true, 96}, {{1280, 0, 2304, 768}, false, 96}};
    const int count = capacity < 2 ? capacity : 2;
    for (int i = 0; i < count; i++)
        monitors[i] = both[i];
    return count;
}

int WindowsClosed = 0;
LRESULT CALLBACK VideoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        WindowsClosed++;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

BYTE AlphaOf(HWND cover) {
    BYTE alpha = 0;
    GetLayeredWindowAttributes(cover, nullptr, &alpha, nullptr);
    return alpha;
}

class ViewingLimitLock : public LockFixture {
  protected:
    void SetUp() override {
        LockFixture::SetUp();
        Media = ScriptedMedia();
        AwakeMs = TickMs = 1000000;
        HasUnbiasedTime = TRUE;
        WindowsClosed = 0;
        OpenMediaSessions = OpenScriptedSessions;
        ReadUnbiasedTime = FakeUnbiasedTime;
        ReadTickCount = FakeTickCount;
    }
    void TearDown() override {
        LockFixture::TearDown();
        if (video)
            DestroyWindow(video);
        OpenMediaSessions = savedOpener;
        ReadUnbiasedTime = savedUnbiased;
        ReadTickCount = savedTickCount;
        ListMonitors = savedMonitors;
    }
    void StoreLimits(int viewingMinutes, int finishVideoMinutes) {
        ViewingLimits limits;
        limits.ViewingMinutes = viewingMinutes;
        limits.FinishVideoMinutes = finishVideoMinutes;
        ASSERT_TRUE(SaveViewingLimits(limits));
    }
    void OpenVideoWindow(const wchar_t* title) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = VideoProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"ViewingLimitLockVideo";
        RegisterClassW(&windowClass);
        video = CreateWindowExW(0, windowClass.lpszClassName, title, WS_POPUP | WS_VISIBLE, 10, 10,
                                200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
        // The walk never looks at the very top window.
        SetWindowPos(video, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // Seconds pass on the lock's clock, a tick every two of them.
    void Run(int seconds) {
        for (int second = 0; second < seconds; second += 2) {
            AwakeMs += 2000;
            TickMs += 2000;
            ViewingLimitTick(MainWindow, WM_TIMER, ViewingLimitTimerId, 0);
        }
    }
    std::string LastTip() const {
        std::string tip;
        for (const NotifyCall& call : RecordedTrayCalls())
            if (call.data.uFlags & NIF_TIP)
                tip = Utf8(call.data.szTip);
        return tip;
    }
    HWND video = nullptr;
    MediaSessionOpener savedOpener = OpenMediaSessions;
    UnbiasedTimeFunction savedUnbiased = ReadUnbiasedTime;
    TickCountFunction savedTickCount = ReadTickCount;
    MonitorListFunction savedMonitors = ListMonitors;
};

TEST_F(ViewingLimitLock, ALimitAloneLocksAndTheTrayNamesIt) {
    StoreLimits(30, 10);
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(RecordedTraySequence(),
              (std::vector<std::string>{
                  "modify icon=131",
                  "modify tip=\"Double-Tap icon to UnLock\nScreen goes dark in 30 min\"",
                  "modify balloon=\" Now locked \nViewing time: 30 min\" timeout=10000",
              }));
    EXPECT_TRUE(Media.open);
    EXPECT_EQ(Media.polls, 0) << "the sessions are read only near the limit";

    RecordedTrayCalls().clear();
    ASSERT_EQ(RequestUnlock(), UnlockResult::Released);
    EXPECT_EQ(RecordedTraySequence(), TrayCallsOfARelease);
    EXPECT_FALSE(ViewingLimitRunning());
    EXPECT_FALSE(Media.open);
    EXPECT_FALSE(KillTimer(MainWindow, ViewingLimitTimerId));
}

TEST_F(ViewingLimitLock, WithoutALimitTheLockIsAsBefore) {
    Settings.EnableYouTubeCount = true;
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_EQ(RecordedTraySequence(), TrayCallsOfALock);
    EXPECT_FALSE(ViewingLimitRunning());
    EXPECT_FALSE(Media.open);
    EXPECT_FALSE(KillTimer(MainWindow, ViewingLimitTimerId));
    EXPECT_TRUE(KillTimer(MainWindow, VideoTimerId));
}

// The minute left in the tooltip, the moon on the padlock, and the sessions
// read only from a minute before the limit.
TEST_F(ViewingLimitLock, TheLastMinuteShowsTheMoonAndReadsTheSessions) {
    Settings.EnableTouchShield = true;
    StoreLimits(2, 10);
    ASSERT_TRUE(EngageAtOnce());
    Run(58);
    EXPECT_FALSE(Shield.MoonShown());
    EXPECT_EQ(Media.polls, 0);
    EXPECT_EQ(LastTip(), "Double-Tap icon to UnLock\nScreen goes dark in 2 min");
    Run(2);
    EXPECT_TRUE(Shield.MoonShown());
    EXPECT_EQ(LastTip(), "Double-Tap icon to UnLock\nScreen goes dark in 1 min");
    Run(2);
    EXPECT_EQ(Media.polls, 1);
    EXPECT_EQ(AlphaOf(Shield.CoverWindow()), CoverAlpha) << "nothing watched, but not yet";

    RequestUnlock();
    EXPECT_FALSE(Shield.MoonShown());
    EXPECT_FALSE(Shield.UnlockBitmapLoaded());
}

// Input stays locked; the window is asked to close, every monitor goes dark
// (also in a lock without the touch shield, with the padlock as the way out)
// and the playing session pauses. The unlock takes all of it away.
TEST_F(ViewingLimitLock, AtTheLimitTheViewingStopsEverywhere) {
    ListMonitors = TwoMonitors;
    Settings.DisableKeyboard = true;
    StoreLimits(1, 1);
    OpenVideoWindow(L"Song A - YouTube");
    Media.now.Present = true;
    Media.now.Status = MediaPlaying;
    ASSERT_TRUE(EngageAtOnce());
    Run(60);
    EXPECT_EQ(Shield.CoverWindow(), nullptr) << "the video finishes first";
    EXPECT_EQ(LastTip(), "Double-Tap icon to UnLock\nScreen goes dark when this video ends");

    SetWindowTextW(video, L"Song B - YouTube");
    Run(2);
    EXPECT_TRUE(WaitUntil([] { return WindowsClosed == 1; }, 2000));
    EXPECT_EQ(Media.pauses, 1);
    ASSERT_NE(Shield.CoverWindow(), nullptr);
    ASSERT_EQ(Shield.OtherCoverCount(), 1);
    EXPECT_EQ(AlphaOf(Shield.CoverWindow()), 255);
    EXPECT_EQ(AlphaOf(Shield.OtherCover(0)), 255);
    EXPECT_TRUE(IsWindowVisible(Shield.UnlockImageWindow()));
    EXPECT_TRUE(Shield.MoonShown());
    EXPECT_NE(Lock.KeyboardHook(), nullptr);
    EXPECT_EQ(LastTip(), "Double-Tap icon to UnLock\nViewing time is over");
    EXPECT_TRUE(KillTimer(MainWindow, LockTimerId)) << "the covers are kept on top";

    ASSERT_EQ(RequestUnlock(), UnlockResult::Released);
    EXPECT_EQ(Shield.CoverWindow(), nullptr);
    EXPECT_EQ(Shield.OtherCoverCount(), 0);
    EXPECT_FALSE(Shield.MoonShown());
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
}

// With the video count on too, one walk a tick serves both, and the count's
// limit, coming first, stops the viewing as the time limit would.
TEST_F(ViewingLimitLock, TheVideoCountCanComeFirst) {
    Settings.EnableYouTubeCount = true;
    Settings.YouTubeMax = 1;
    StoreLimits(60, 10);
    OpenVideoWindow(L"Song A - YouTube");
    Media.now.Present = true;
    Media.now.Status = MediaPlaying;
    ASSERT_TRUE(EngageAtOnce());
    EXPECT_FALSE(KillTimer(MainWindow, VideoTimerId)) << "one walk a tick";
    SetWindowTextW(video, L"Song B - YouTube");
    Run(2);
    EXPECT_EQ(Shield.CoverWindow(), nullptr) << "the one video allowed";
    SetWindowTextW(video, L"Song C - YouTube");
    Run(2);
    EXPECT_TRUE(WaitUntil([] { return WindowsClosed == 1; }, 2000));
    ASSERT_NE(Shield.CoverWindow(), nullptr);
    EXPECT_EQ(AlphaOf(Shield.CoverWindow()), 255);
    EXPECT_EQ(Media.pauses, 1);
}

// Where the system has no sleep-free clock, the main window hands the lock
// the suspend and resume notices.
TEST_F(ViewingLimitLock, TimeAsleepDoesNotCount) {
    HasUnbiasedTime = FALSE;
    StoreLimits(1, 0);
    ASSERT_TRUE(EngageAtOnce());
    Run(30);
    SendMessageW(MainWindow, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    TickMs += 3600 * 1000;
    SendMessageW(MainWindow, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    SendMessageW(MainWindow, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    Run(28);
    EXPECT_EQ(Shield.CoverWindow(), nullptr);
    Run(2);
    EXPECT_NE(Shield.CoverWindow(), nullptr);
}

} // namespace
