// The video counter: while locked, every change of the YouTube window's title
// is one more video; past the limit the browser window is asked to close and
// the cover turns opaque.
#include "video_counter.h"
#include "../lock/cover_windows.h"
#include "../settings/settings_store.h"
#include <cstring>

static HWND FindVideoWindow(char* title);

int VideoCount = 0;
char LastWindowTitle[WindowTitleSize];

void CALLBACK CountVideosTick(HWND, UINT, UINT_PTR, DWORD) {
    char title[WindowTitleSize] = {};
    HWND videoWindow = FindVideoWindow(title);
    if (strcmp(title, LastWindowTitle) == 0)
        return; // the same video is still playing
    if (title[0] == '\0')
        return; // no video window at the moment
    memcpy(LastWindowTitle, title, sizeof LastWindowTitle);
    // The limit is tested before the new title is counted: the video playing
    // at lock time plays on and YouTubeMax further videos start.
    if (VideoCount >= Settings.YouTubeMax)
        StopVideoAtLimit(videoWindow);
    if (strstr(title, VideoTitleMarker))
        VideoCount++;
}

void StopVideoAtLimit(HWND window) {
    // Posted, not sent: a hung browser, or one asking whether to leave the
    // page, would otherwise stall this thread, and with it the low-level hooks
    // that Windows drops when they stop answering.
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (!CoverWindow)
        return;
    SetLayeredWindowAttributes(CoverWindow, RGB(255, 0, 255), 255, LWA_ALPHA);
    RaiseCover(true);
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
