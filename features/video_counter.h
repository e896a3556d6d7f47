// Counts videos in the browser window while locked and ends viewing at the limit.
#pragma once
#include <windows.h>

const char* const VideoTitleMarker = "- YouTube";
const int WindowTitleSize = 512;

extern int VideoCount;
extern char LastWindowTitle[WindowTitleSize];

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

void CALLBACK CountVideosTick(HWND window, UINT message, UINT_PTR id, DWORD time);
void StopVideoAtLimit(HWND window);
