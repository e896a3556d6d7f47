// What the viewing-time limit reads from the system, as it is under Wine: the
// lock's clock, the media sessions (none here) and the watched window's title.
#include "video_windows.h"
#include "features/active_clock.h"
#include "features/media_session.h"
#include "features/video_title.h"
#include <gtest/gtest.h>

namespace {

TEST(ViewingSources, TheClockRunsOnTheSystemsTime) {
    ActiveClock clock;
    clock.Start();
    Sleep(200);
    EXPECT_GE(clock.ElapsedMs(), 150u);
    EXPECT_LT(clock.ElapsedMs(), 5000u);
}

// Wine has no media sessions: the real source says so on every poll, without
// waiting, an error box or a crash, and a pause asks nothing of anyone.
TEST(ViewingSources, NoMediaSessionsUnderWine) {
    std::unique_ptr<MediaSessionSource> sessions = OpenSystemMediaSessions();
    for (int poll = 0; poll < 3; poll++) {
        DWORD started = GetTickCount();
        MediaSnapshot snapshot = sessions->Poll();
        EXPECT_LT(GetTickCount() - started, 1000u);
        EXPECT_FALSE(snapshot.Present);
        sessions->Pause();
    }
}

// Read as ANSI, two Cyrillic titles of one length would both be question marks.
TEST(ViewingSources, TheVideoWindowsTitleIsReadAsUtf16) {
    const std::wstring title = L"\x041F\x0435\x0441\x043D\x044F - YouTube";
    CreateTopGuardWindow();
    HWND video = CreateVideoWindow(title);

    std::wstring found;
    EXPECT_EQ(video, FindVideoWindowW(&found));
    EXPECT_EQ(title, found);
    DestroyTestWindows();
    EXPECT_EQ(nullptr, FindVideoWindowW(&found));
    EXPECT_EQ(L"", found);
}

} // namespace
