// The watched video's title, whatever the language of the video: a title read
// as ANSI turns every letter outside the code page into "?", and two Cyrillic
// titles of the same length then look like the same video.
#include "video_title.h"

HWND FindVideoWindowW(std::wstring* title) {
    title->clear();
    HWND window = GetTopWindow(nullptr);
    if (!window)
        return nullptr;
    // The very top window itself is never looked at, as by the video counter,
    // so that both watch the same window.
    while ((window = GetWindow(window, GW_HWNDNEXT)) != nullptr) {
        wchar_t text[VideoTitleSize] = {};
        GetWindowTextW(window, text, VideoTitleSize);
        if (wcsstr(text, VideoTitleMarker)) {
            title->assign(text);
            return window;
        }
    }
    return nullptr;
}

static bool IsAsciiDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// About a second after a page loads, the site may put the count of the
// viewer's unread notifications in front of the title: "(3) Song - YouTube".
const wchar_t* WithoutNotificationCountW(const wchar_t* title) {
    if (title[0] != L'(' || !IsAsciiDigit(title[1]))
        return title;
    const wchar_t* rest = title + 1;
    while (IsAsciiDigit(*rest))
        rest++;
    if (rest[0] != L')' || rest[1] != L' ')
        return title;
    return rest + 2;
}

bool IsSameVideo(const std::wstring& now, const std::wstring& last) {
    return now == last || WithoutNotificationCountW(now.c_str()) == last ||
           WithoutNotificationCountW(last.c_str()) == now;
}

void RememberVideoTitle(const std::wstring& now, std::wstring* last) {
    if (!now.empty() && (!IsSameVideo(now, *last) || now.size() < last->size()))
        *last = now;
}
