// Counts videos in the browser window while locked and ends viewing at the limit.
#pragma once
#include <windows.h>

const char* const VideoTitleMarker = "- YouTube";
const int WindowTitleSize = 512;

struct VideoCounterState {
    int VideoCount;                        // videos counted since the lock countdown started
    char LastWindowTitle[WindowTitleSize]; // the last title seen
};
extern VideoCounterState Videos;

// The countdown counts afresh.
void ResetVideoCount();
// When the lock engages: the title of the window in front becomes the last
// title seen (at most 499 characters), so a video already playing there is
// not counted as a new one.
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
VideoTickAction DecideVideoTick(const char* title, const char* lastTitle, int videoCount,
                                int videoMax);
// The title without a leading notification count: "(3) Song" gives "Song".
const char* WithoutNotificationCount(const char* title);

// Timer VideoTimerId of the main window while the lock counts videos.
void CALLBACK CountVideosTick(HWND window, UINT message, UINT_PTR id, DWORD time);
// Posts WM_CLOSE to the browser window (if any) and runs the limit's action.
void StopVideoAtLimit(HWND window);
