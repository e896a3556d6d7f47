// Counts videos in the browser window while locked and ends viewing at the limit.
#pragma once
#include <windows.h>
#include <string>

struct VideoCounterState {
    int VideoCount;               // videos counted since the lock countdown started
    std::wstring LastWindowTitle; // the last video's title seen
};
extern VideoCounterState Videos;

// The countdown counts afresh.
void ResetVideoCount();
// When the lock engages: the title of the video window (the one a tick would
// find) becomes the last title seen, so the video already playing there is
// not counted as a new one, wherever the tap that locked left the foreground.
void SeedLastWindowTitle();
// What StopVideoAtLimit does besides asking the browser window to close.
typedef void (*VideoLimitAction)();
void SetVideoLimitAction(VideoLimitAction action);

// What one tick of the video counter does with the title it found.
enum VideoTickAction {
    VideoTickNothing,      // no title, or the same video as before
    VideoTickNoteTitle,    // a new title without the marker: only remembered
    VideoTickCount,        // a new video: remembered and counted
    VideoTickStop,         // past the limit: remembered, the viewing ended
    VideoTickStopAndCount, // past the limit with a new video: all three
};

// The decision of one tick, from the title found now (empty when none), the
// title remembered, the videos counted so far and the limit.
VideoTickAction DecideVideoTick(const std::wstring& title, const std::wstring& lastTitle,
                                int videoCount, int videoMax);
inline bool VideoTickStops(VideoTickAction action) {
    return action == VideoTickStop || action == VideoTickStopAndCount;
}
// Counts the title one tick found against YouTubeMax: remembers it and counts
// it as the decision says; returns the decision. The caller ends the viewing
// when it stops.
VideoTickAction CountVideoTitle(const std::wstring& title);

// Timer VideoTimerId of the main window while the lock counts videos.
void CALLBACK CountVideosTick(HWND window, UINT message, UINT_PTR id, DWORD time);
// Posts WM_CLOSE to the browser window (if any) and runs the limit's action.
void StopVideoAtLimit(HWND window);
