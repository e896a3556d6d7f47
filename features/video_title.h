// The watched video's window and title, read as UTF-16, and the rule by which
// two titles show the same video.
#pragma once
#include <windows.h>
#include <string>

// The suffix the site puts on every page title: a title holding it anywhere
// (case as written) shows a video.
const wchar_t* const VideoTitleMarker = L"- YouTube";
// Titles are read, compared and kept by their first this-many-minus-one characters.
const int VideoTitleSize = 512;

// Walks the top-level windows below the topmost one, as the video counter
// does, and returns the first whose title holds the marker, with its title in
// title; with none, returns no window and an empty title.
HWND FindVideoWindowW(std::wstring* title);
// The title without a leading notification count: "(3) Song" gives "Song".
const wchar_t* WithoutNotificationCountW(const wchar_t* title);
// True when now shows the same video as last: the same title, or one of the
// two is the other with a notification count put in front. "(1) Song" and
// "(2) Song" are two videos: a count is only left out when the rest of the
// title is unchanged.
bool IsSameVideo(const std::wstring& now, const std::wstring& last);
// Keeps in *last the title to compare the next one with, after now was seen
// (empty: no video window). The same video keeps its shorter title, so that a
// count that comes, changes and goes while it plays ("A", "(3) A", "(4) A")
// is never taken for another video.
void RememberVideoTitle(const std::wstring& now, std::wstring* last);
