// The video counter: while locked, every change of the YouTube window's title
// is one more video; past the limit the browser window is asked to close and
// what the lock set for the limit happens (its covers turn opaque).
#include "video_counter.h"
#include "video_title.h"
#include "../settings/settings_store.h"

VideoCounterState Videos = {};

// What else the limit does; the lock turns its covers opaque.
static VideoLimitAction LimitAction = nullptr;

void ResetVideoCount() {
    Videos.VideoCount = 0;
}

void SeedLastWindowTitle() {
    FindVideoWindowW(&Videos.LastWindowTitle);
}

void SetVideoLimitAction(VideoLimitAction action) {
    LimitAction = action;
}

VideoTickAction DecideVideoTick(const std::wstring& title, const std::wstring& lastTitle,
                                int videoCount, int videoMax) {
    if (title.empty())
        return VideoTickNothing; // no video window at the moment
    if (IsSameVideo(title, lastTitle))
        return VideoTickNothing; // the same video is still playing
    // The limit is tested before the new title is counted: the video playing
    // at lock time plays on and YouTubeMax further videos start.
    bool stop = videoCount >= videoMax;
    bool count = title.find(VideoTitleMarker) != std::wstring::npos;
    if (stop)
        return count ? VideoTickStopAndCount : VideoTickStop;
    return count ? VideoTickCount : VideoTickNoteTitle;
}

VideoTickAction CountVideoTitle(const std::wstring& title) {
    VideoTickAction action =
        DecideVideoTick(title, Videos.LastWindowTitle, Videos.VideoCount, Settings.YouTubeMax);
    RememberVideoTitle(title, &Videos.LastWindowTitle);
    if (action == VideoTickCount || action == VideoTickStopAndCount)
        Videos.VideoCount++;
    return action;
}

void CALLBACK CountVideosTick(HWND, UINT, UINT_PTR, DWORD) {
    std::wstring title;
    HWND videoWindow = FindVideoWindowW(&title);
    if (VideoTickStops(CountVideoTitle(title)))
        StopVideoAtLimit(videoWindow);
}

void StopVideoAtLimit(HWND window) {
    // Posted, not sent: a hung browser, or one asking whether to leave the
    // page, would otherwise stall this thread, and with it the low-level hooks
    // that Windows drops when they stop answering.
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (LimitAction)
        LimitAction();
}
