// What one tick of the video counter does with the title it finds.
#include "features/video_counter.h"
#include <gtest/gtest.h>
#include <ostream>

namespace {

struct TickRow {
    const char* name;
    const wchar_t* title;
    const wchar_t* lastTitle;
    int count, max;
    VideoTickAction action;
};

void PrintTo(const TickRow& row, std::ostream* out) {
    *out << row.name;
}

class VideoTick : public ::testing::TestWithParam<TickRow> {};

TEST_P(VideoTick, DecidesFromTheTitles) {
    const TickRow row = GetParam();
    EXPECT_EQ(row.action, DecideVideoTick(row.title, row.lastTitle, row.count, row.max));
}

INSTANTIATE_TEST_SUITE_P(
    Titles, VideoTick,
    ::testing::Values(
        TickRow{"NoVideoWindow", L"", L"A - YouTube", 0, 1, VideoTickNothing},
        TickRow{"SameVideo", L"A - YouTube", L"A - YouTube", 0, 1, VideoTickNothing},
        TickRow{"NewVideo", L"B - YouTube", L"A - YouTube", 0, 1, VideoTickCount},
        TickRow{"NewVideoAtTheLimit", L"B - YouTube", L"A - YouTube", 1, 1, VideoTickStopAndCount},
        TickRow{"NewTitleWithoutMarker", L"Home", L"A - YouTube", 0, 1, VideoTickNoteTitle},
        TickRow{"NewTitleWithoutMarkerAtLimit", L"Home", L"A - YouTube", 2, 1, VideoTickStop},
        TickRow{"NotificationCountAdded", L"(3) A - YouTube", L"A - YouTube", 1, 1,
                VideoTickNothing},
        // A count is left out only where the rest is unchanged: "(1) Peppa Pig" and
        // "(2) Peppa Pig" are two episodes.
        TickRow{"NumberedEpisodes", L"(2) Peppa Pig - YouTube", L"(1) Peppa Pig - YouTube", 0, 1,
                VideoTickCount},
        TickRow{"NotificationCountChanged", L"(12) A - YouTube", L"(3) A - YouTube", 1, 1,
                VideoTickStopAndCount},
        // Read as UTF-16: two Cyrillic titles of one length are two videos.
        TickRow{"CyrillicTitles", L"\x041C\x0438\x0448\x043A\x0430 - YouTube",
                L"\x041F\x0435\x0441\x043D\x044F - YouTube", 0, 1, VideoTickCount},
        TickRow{"NotificationCountGone", L"A - YouTube", L"(3) A - YouTube", 1, 1,
                VideoTickNothing},
        TickRow{"NewVideoWithCount", L"(3) B - YouTube", L"A - YouTube", 0, 1, VideoTickCount},
        // Only "(digits) " at the very start is a notification count.
        TickRow{"DigitsWithoutSpace", L"(3)A - YouTube", L"A - YouTube", 0, 1, VideoTickCount},
        TickRow{"NotDigits", L"(live) A - YouTube", L"A - YouTube", 0, 1, VideoTickCount},
        TickRow{"EmptyParentheses", L"() A - YouTube", L"A - YouTube", 0, 1, VideoTickCount},
        TickRow{"CountNotAtTheStart", L"A (3) - YouTube", L"A - YouTube", 0, 1, VideoTickCount}),
    [](const ::testing::TestParamInfo<TickRow>& row) { return std::string(row.param.name); });

} // namespace
