// The video counter: while locked, every change of the YouTube window's title
// is one more video; past the limit the browser window is asked to close and
// what the lock set for the limit happens (its covers turn opaque).
#include "video_counter.h"
#include "../settings/settings_store.h"
#include <cctype>
#include <cstring>

static HWND FindVideoWindow(char* title);

VideoCounterState Videos = {};

// What else the limit does; the lock turns its covers opaque.
static VideoLimitAction LimitAction = nullptr;
// The seed is read with a smaller limit than a tick's title.
static const int SeededTitleSize = 500;

void ResetVideoCount() {
    Videos.VideoCount = 0;
}

void SeedLastWindowTitle() {
    memset(Videos.LastWindowTitle, 0, SeededTitleSize);
    GetWindowTextA(GetForegroundWindow(), Videos.LastWindowTitle, SeededTitleSize);
}

void SetVideoLimitAction(VideoLimitAction action) {
    LimitAction = action;
}

// About a second after a page loads, the site puts the count of the viewer's
// unread notifications in front of the title: "(3) Song - YouTube". That is
// the same video, so the count is left out when titles are compared.
const char* WithoutNotificationCount(const char* title) {
    if (title[0] != '(' || !isdigit(static_cast<unsigned char>(title[1])))
        return title;
    const char* rest = title + 1;
    while (isdigit(static_cast<unsigned char>(*rest)))
        rest++;
    if (rest[0] != ')' || rest[1] != ' ')
        return title;
    return rest + 2;
}

VideoTickAction DecideVideoTick(const char* title, const char* lastTitle, int videoCount,
                                int videoMax) {
    if (title[0] == '\0')
        return VideoTickNothing; // no video window at the moment
    if (strcmp(WithoutNotificationCount(title), WithoutNotificationCount(lastTitle)) == 0)
        return VideoTickNothing; // the same video is still playing
    // The limit is tested before the new title is counted: the video playing
    // at lock time plays on and YouTubeMax further videos start.
    bool stop = videoCount >= videoMax;
    bool count = strstr(title, VideoTitleMarker) != nullptr;
    if (stop)
        return count ? VideoTickStopAndCount : VideoTickStop;
    return count ? VideoTickCount : VideoTickNoteTitle;
}

void CALLBACK CountVideosTick(HWND, UINT, UINT_PTR, DWORD) {
    char title[WindowTitleSize] = {};
    HWND videoWindow = FindVideoWindow(title);
    VideoTickAction action =
        DecideVideoTick(title, Videos.LastWindowTitle, Videos.VideoCount, Settings.YouTubeMax);
    if (action == VideoTickNothing)
        return;
    memcpy(Videos.LastWindowTitle, title, sizeof Videos.LastWindowTitle);
    if (action == VideoTickStop || action == VideoTickStopAndCount)
        StopVideoAtLimit(videoWindow);
    if (action == VideoTickCount || action == VideoTickStopAndCount)
        Videos.VideoCount++;
}

void StopVideoAtLimit(HWND window) {
    // Posted, not sent: a hung browser, or one asking whether to leave the
    // page, would otherwise stall this thread, and with it the low-level hooks
    // that Windows drops when they stop answering.
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (LimitAction)
        LimitAction();
}

// Walks the top-level windows below the topmost one, of any process, visible
// or not, and returns the first whose title holds the marker, with the title
// in title (WindowTitleSize bytes). With no such window, title is left empty.
static HWND FindVideoWindow(char* title) {
    HWND window = GetTopWindow(nullptr);
    if (!window)
        return nullptr;
    // The very top window itself is never looked at.
    while ((window = GetWindow(window, GW_HWNDNEXT)) != nullptr) {
        title[0] = '\0';
        GetWindowTextA(window, title, WindowTitleSize);
        if (strstr(title, VideoTitleMarker))
            return window;
    }
    title[0] = '\0';
    return nullptr;
}
