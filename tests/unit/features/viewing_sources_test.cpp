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

LRESULT CALLBACK KeepOpen(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_CLOSE ? 0 : DefWindowProcW(window, message, wParam, lParam);
}

// Read as ANSI, two Cyrillic titles of one length would both be question marks.
TEST(ViewingSources, TheVideoWindowsTitleIsReadAsUtf16) {
    const wchar_t* const title = L"\x041F\x0435\x0441\x043D\x044F - YouTube";
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = KeepOpen;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ViewingSourcesVideo";
    RegisterClassW(&windowClass);
    CreateTopGuardWindow();
    HWND video = CreateWindowExW(0, windowClass.lpszClassName, title, WS_POPUP, 100, 100, 300, 200,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(video, SW_SHOWNOACTIVATE);
    SetWindowPos(video, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    std::wstring found;
    EXPECT_EQ(video, FindVideoWindowW(&found));
    EXPECT_EQ(title, found);
    DestroyWindow(video);
    DestroyTestWindows();
    EXPECT_EQ(nullptr, FindVideoWindowW(&found));
    EXPECT_EQ(L"", found);
}

} // namespace
