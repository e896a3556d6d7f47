// The viewing-time limit in a lock: what the tray and the padlock show, what
// the tick does to the watched window, the covers and the media sessions, and
// that an unlock takes all of it away. The tick is called as its timer would
// call it, with the lock's clock and the sessions replaced.
#include "support/lock_fixture.h"
#include "features/active_clock.h"
#include "features/media_session.h"
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
    MediaSnapshot Poll() override { return Media.polls++, Media.now; }
    void Pause() override {
        Media.pauses++;
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
        OpenMediaSessions = OpenScriptedSessions;
        Clocks.ReadUnbiasedTime = FakeUnbiasedTime;
        Clocks.ReadTickCount = FakeTickCount;
    }
    void TearDown() override {
        LockFixture::TearDown();
        DestroyWindow(video);
        OpenMediaSessions = savedOpener;
        Clocks.ReadUnbiasedTime = savedUnbiased;
        Clocks.ReadTickCount = savedTickCount;
    }
    void Engage(int viewingMinutes, int finishVideoMinutes) {
        ViewingLimits limits;
        limits.ViewingMinutes = viewingMinutes;
        limits.FinishVideoMinutes = finishVideoMinutes;
        ASSERT_TRUE(SaveViewingLimits(limits));
        ASSERT_TRUE(EngageAtOnce());
    }
    // A "browser" below every other window (the walk skips the very top one);
    // it goes when asked to close.
    void OpenVideo(const wchar_t* title) {
        video = CreateWindowExW(0, L"STATIC", title, WS_POPUP | WS_VISIBLE, 10, 10, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
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
    UnbiasedTimeFunction savedUnbiased = Clocks.ReadUnbiasedTime;
    TickCountFunction savedTickCount = Clocks.ReadTickCount;
};

TEST_F(ViewingLimitLock, ALimitAloneLocksAndTheTrayNamesIt) {
    Engage(30, 10);
    EXPECT_EQ(RecordedTraySequence(),
              (std::vector<std::string>{
                  "modify icon=131",
                  "modify tip=\"Double-Tap icon to UnLock\nScreen goes dark in 30 min\"",
                  "modify balloon=\" Now locked \nViewing time: 30 min\" timeout=10000",
              }));
    RecordedTrayCalls().clear();
    ASSERT_EQ(RequestUnlock(), UnlockResult::Released);
    EXPECT_EQ(RecordedTraySequence(), TrayCallsOfARelease);
    EXPECT_FALSE(ViewingLimitRunning());
    EXPECT_FALSE(Media.open);
    EXPECT_FALSE(KillTimer(MainWindow, ViewingLimitTimerId));
}

TEST_F(ViewingLimitLock, WithoutALimitTheLockIsAsBefore) {
    Settings.EnableYouTubeCount = true;
    Engage(0, 10);
    EXPECT_EQ(RecordedTraySequence(), TrayCallsOfALock);
    EXPECT_FALSE(ViewingLimitRunning());
    EXPECT_FALSE(Media.open);
    EXPECT_FALSE(KillTimer(MainWindow, ViewingLimitTimerId));
    EXPECT_TRUE(KillTimer(MainWindow, VideoTimerId));
}

// The minutes left, the moon for the last one, and the sessions read only
// from a minute before the limit.
TEST_F(ViewingLimitLock, TheLastMinuteShowsTheMoonAndReadsTheSessions) {
    Settings.EnableTouchShield = true;
    Engage(2, 10);
    Run(58);
    EXPECT_FALSE(Shield.MoonShown());
    EXPECT_EQ(Media.polls, 0);
    EXPECT_EQ(LastTip(), "Double-Tap icon to UnLock\nScreen goes dark in 2 min");
    Run(4);
    EXPECT_TRUE(Shield.MoonShown());
    EXPECT_EQ(LastTip(), "Double-Tap icon to UnLock\nScreen goes dark in 1 min");
    EXPECT_EQ(Media.polls, 1);
    RequestUnlock();
    EXPECT_FALSE(Shield.MoonShown());
    EXPECT_FALSE(Shield.UnlockBitmapLoaded());
}

// Input stays locked; the window is asked to close, every monitor goes dark
// (also without the touch shield, with the padlock as the way out) and the
// playing session pauses. The unlock takes all of it away.
TEST_F(ViewingLimitLock, AtTheLimitTheViewingStopsEverywhere) {
    UseMonitors({{{0, 0, 1280, 800}, true, 96}, {{1280, 0, 2304, 768}, false, 96}});
    Settings.DisableKeyboard = true;
    OpenVideo(L"Song A - YouTube");
    Media.now.Present = true;
    Media.now.Status = MediaPlaying;
    Engage(1, 1);
    Run(60);
    EXPECT_EQ(Shield.CoverWindow(), nullptr) << "the video finishes first";
    EXPECT_EQ(LastTip(), "Double-Tap icon to UnLock\nScreen goes dark when this video ends");

    SetWindowTextW(video, L"Song B - YouTube");
    Run(2);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(video); }, 2000));
    EXPECT_EQ(Media.pauses, 1);
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
    EXPECT_EQ(Lock.KeyboardHook(), nullptr);
}

// With the video count on too, one walk a tick serves both, and the count's
// limit, coming first, stops the viewing as the time limit would.
TEST_F(ViewingLimitLock, TheVideoCountCanComeFirst) {
    Settings.EnableYouTubeCount = true;
    Settings.YouTubeMax = 1;
    OpenVideo(L"Song A - YouTube");
    Media.now.Present = true;
    Media.now.Status = MediaPlaying;
    Engage(60, 10);
    EXPECT_FALSE(KillTimer(MainWindow, VideoTimerId)) << "one walk a tick";
    SetWindowTextW(video, L"Song B - YouTube");
    Run(2);
    EXPECT_EQ(Shield.CoverWindow(), nullptr) << "the one video allowed";
    SetWindowTextW(video, L"Song C - YouTube");
    Run(2);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(video); }, 2000));
    EXPECT_EQ(AlphaOf(Shield.CoverWindow()), 255);
    EXPECT_EQ(Media.pauses, 1);
}

// Where the system has no sleep-free clock, the main window hands the lock
// the suspend and resume notices.
TEST_F(ViewingLimitLock, TimeAsleepDoesNotCount) {
    HasUnbiasedTime = FALSE;
    Engage(1, 0);
    Run(30);
    SendMessageW(MainWindow, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    TickMs += 3600 * 1000;
    SendMessageW(MainWindow, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    Run(28);
    EXPECT_EQ(Shield.CoverWindow(), nullptr);
    Run(2);
    EXPECT_NE(Shield.CoverWindow(), nullptr);
}

} // namespace
