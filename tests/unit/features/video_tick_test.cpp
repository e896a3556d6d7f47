// What one tick of the video counter does with the title it finds.
#include "features/video_counter.h"
#include <gtest/gtest.h>
#include <ostream>

namespace {

struct TickRow {
    const char* name;
    const char* title;
    const char* lastTitle;
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
        TickRow{"NoVideoWindow", "", "A - YouTube", 0, 1, VideoTickNothing},
        TickRow{"SameVideo", "A - YouTube", "A - YouTube", 0, 1, VideoTickNothing},
        TickRow{"NewVideo", "B - YouTube", "A - YouTube", 0, 1, VideoTickCount},
        TickRow{"NewVideoAtTheLimit", "B - YouTube", "A - YouTube", 1, 1, VideoTickStopAndCount},
        TickRow{"NewTitleWithoutMarker", "Home", "A - YouTube", 0, 1, VideoTickNoteTitle},
        TickRow{"NewTitleWithoutMarkerAtLimit", "Home", "A - YouTube", 2, 1, VideoTickStop},
        TickRow{"NotificationCountAdded", "(3) A - YouTube", "A - YouTube", 1, 1, VideoTickNothing},
        TickRow{"NotificationCountChanged", "(12) A - YouTube", "(3) A - YouTube", 1, 1,
                VideoTickNothing},
        TickRow{"NotificationCountGone", "A - YouTube", "(3) A - YouTube", 1, 1, VideoTickNothing},
        TickRow{"NewVideoWithCount", "(3) B - YouTube", "A - YouTube", 0, 1, VideoTickCount},
        // Only "(digits) " at the very start is a notification count.
        TickRow{"DigitsWithoutSpace", "(3)A - YouTube", "A - YouTube", 0, 1, VideoTickCount},
        TickRow{"NotDigits", "(live) A - YouTube", "A - YouTube", 0, 1, VideoTickCount},
        TickRow{"EmptyParentheses", "() A - YouTube", "A - YouTube", 0, 1, VideoTickCount},
        TickRow{"CountNotAtTheStart", "A (3) - YouTube", "A - YouTube", 0, 1, VideoTickCount}),
    [](const ::testing::TestParamInfo<TickRow>& row) { return std::string(row.param.name); });

} // namespace
