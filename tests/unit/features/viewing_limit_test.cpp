// The viewing-time limit, tick by tick on a 2-second timer: the lock's clock
// (with the system's time sources replaced) and the decision, against scripted
// titles of the watched window and states of the media session.
#include "features/active_clock.h"
#include "features/viewing_limit.h"
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace {

const int Gone = -1; // no session
const int Play = MediaPlaying, Paused = MediaPaused, Stopped = MediaStopped;
const int Untimed = -1;

struct TitleFrom {
    int at; // wall-clock seconds since the lock engaged
    const wchar_t* title;
};
struct SessionFrom {
    int at;
    int status; // a MediaPlayback, or Gone
    const wchar_t* item;
    int secondsLeft; // Untimed: the player publishes none
};

struct LimitRow {
    const char* name;
    ViewingLimits limits;
    std::vector<TitleFrom> titles;
    std::vector<SessionFrom> sessions;
    int countStopAt = -1;
    int sleepAt = -1, sleepSeconds = 0;
    bool unbiasedTime = true;
    int relockAt = -1;      // an unlock and a new lock
    bool obeysPause = true; // a playing session pauses when the viewing stops
    std::vector<int> stops; // the ticks that stop the viewing
    int probeAt = -1, minutesLeft = 0;
    bool lastMinute = false, pollMedia = false;

    LimitRow& Titles(std::vector<TitleFrom> list) { return titles = list, *this; }
    LimitRow& Sessions(std::vector<SessionFrom> list) { return sessions = list, *this; }
    LimitRow& CountStopsAt(int at) { return countStopAt = at, *this; }
    LimitRow& Sleeps(int at, int seconds, bool unbiased) {
        sleepAt = at, sleepSeconds = seconds, unbiasedTime = unbiased;
        return *this;
    }
    LimitRow& RelocksAt(int at) { return relockAt = at, *this; }
    LimitRow& IgnoresPause() { return obeysPause = false, *this; }
    LimitRow& Shows(int at, int minutes, bool moon, bool poll) {
        probeAt = at, minutesLeft = minutes, lastMinute = moon, pollMedia = poll;
        return *this;
    }
};

LimitRow Row(const char* name, int viewingMinutes, int finishVideoMinutes, std::vector<int> stops) {
    LimitRow row;
    row.name = name;
    row.stops = stops;
    row.limits.ViewingMinutes = viewingMinutes;
    row.limits.FinishVideoMinutes = finishVideoMinutes;
    return row;
}

void PrintTo(const LimitRow& row, std::ostream* out) {
    *out << row.name;
}

// The system's clocks: the tick count goes on in sleep, the unbiased time not.
ULONGLONG WallMs = 0, AwakeMs = 0;
bool HasUnbiasedTime = true;
ULONGLONG WINAPI FakeTickCount() {
    return WallMs;
}
BOOL WINAPI FakeUnbiasedTime(PULONGLONG time) {
    *time = AwakeMs * 10000;
    return HasUnbiasedTime;
}

MediaSnapshot SessionAt(const LimitRow& row, int second, bool pauseAsked) {
    MediaSnapshot media;
    for (const SessionFrom& step : row.sessions) {
        if (step.at > second)
            break;
        media = MediaSnapshot();
        media.Present = step.status != Gone;
        media.Status = static_cast<MediaPlayback>(step.status == Gone ? 0 : step.status);
        media.Title = step.item ? step.item : L"";
        media.HasTimeline = step.secondsLeft != Untimed;
        media.EndMs = 600000;
        media.PositionMs = media.EndMs - step.secondsLeft * 1000LL;
    }
    if (pauseAsked && row.obeysPause && media.Status == MediaPlaying)
        media.Status = MediaPaused;
    return media;
}

const wchar_t* TitleAt(const LimitRow& row, int second) {
    const wchar_t* title = L"";
    for (const TitleFrom& step : row.titles)
        if (step.at <= second)
            title = step.title;
    return title;
}

class ViewingLimit : public ::testing::TestWithParam<LimitRow> {
  protected:
    void SetUp() override {
        Clocks.ReadTickCount = FakeTickCount;
        Clocks.ReadUnbiasedTime = FakeUnbiasedTime;
        WallMs = AwakeMs = 1000000;
    }
    void TearDown() override {
        Clocks.ReadTickCount = savedTickCount;
        Clocks.ReadUnbiasedTime = savedUnbiasedTime;
    }
    TickCountFunction savedTickCount = Clocks.ReadTickCount;
    UnbiasedTimeFunction savedUnbiasedTime = Clocks.ReadUnbiasedTime;
};

TEST_P(ViewingLimit, StopsAtTheRightTick) {
    const LimitRow row = GetParam();
    HasUnbiasedTime = row.unbiasedTime;
    ActiveClock clock;
    clock.Start();
    ViewingLimitState state;
    std::vector<int> stops;
    bool pauseAsked = false;
    for (int second = 2; second <= 800; second += 2) {
        WallMs += 2000, AwakeMs += 2000;
        if (second == row.relockAt) {
            clock.Start();
            state = ViewingLimitState();
        }
        ViewingTick tick;
        tick.ActiveMs = clock.ElapsedMs();
        tick.Title = TitleAt(row, second);
        tick.Media = SessionAt(row, second, pauseAsked);
        tick.CountLimitStops = second == row.countStopAt;
        ViewingDecision decision = DecideViewingLimit(row.limits, tick, &state);
        if (decision.Action == ViewingStopNow) {
            stops.push_back(second);
            pauseAsked = true;
        }
        if (second == row.probeAt) {
            EXPECT_EQ(row.minutesLeft, decision.MinutesLeft);
            EXPECT_EQ(row.lastMinute, decision.LastMinute);
            EXPECT_EQ(row.pollMedia, decision.PollMedia);
        }
        if (second == row.sleepAt) {
            clock.Suspending();
            WallMs += row.sleepSeconds * 1000ULL;
            clock.Resumed();
        }
    }
    EXPECT_EQ(row.stops, stops);
}

const wchar_t* const A = L"Song A - YouTube";
const wchar_t* const B = L"Song B - YouTube";

INSTANTIATE_TEST_SUITE_P(
    Ticks, ViewingLimit,
    ::testing::Values(
        // One minute, one more to finish.
        Row("TitleChangeAfterTheLimit", 1, 1, {62}).Titles({{0, A}, {61, B}}),
        Row("TitleChangeOnTheLimit", 1, 1, {60}).Titles({{0, A}, {60, B}}),
        Row("TitleChangeBeforeTheLimit", 1, 1, {120}).Titles({{0, A}, {58, B}}),
        Row("NoTitleChange", 1, 1, {120}).Titles({{0, A}}).Shows(62, 0, true, true),
        Row("WindowClosesWhileFinishing", 1, 1, {80}).Titles({{0, A}, {80, L""}}),
        Row("FinishOff", 1, 0, {60}).Titles({{0, A}}).Shows(80, 0, true, false),
        // Nothing watched at the limit.
        Row("NoVideoWindow", 1, 1, {60}),
        // The counter's rule for titles.
        Row("CountAdded", 1, 1, {120}).Titles({{0, A}, {70, L"(3) Song A - YouTube"}}),
        Row("CountComesChangesGoes", 1, 1, {120})
            .Titles(
                {{0, A}, {40, L"(3) Song A - YouTube"}, {70, L"(4) Song A - YouTube"}, {90, A}}),
        Row("NumberedEpisodes", 1, 1, {70})
            .Titles({{0, L"(1) Peppa Pig - YouTube"}, {70, L"(2) Peppa Pig - YouTube"}}),
        // Media sessions, with or without the window.
        Row("SessionPlays", 1, 1, {120}).Sessions({{0, Play, L"A", Untimed}}),
        Row("SessionPausedAtTheLimit", 1, 1, {60}).Sessions({{0, Paused, L"A", 200}}),
        Row("NextItem", 1, 1, {90}).Sessions({{0, Play, L"A", Untimed}, {90, Play, L"B", Untimed}}),
        Row("NextItemBeforeTheLimit", 1, 1, {120})
            .Sessions({{0, Play, L"A", Untimed}, {30, Play, L"B", Untimed}}),
        Row("ItemNotReadYet", 1, 1, {120})
            .Sessions({{0, Play, nullptr, Untimed}, {90, Play, L"A", 100}}),
        Row("SessionEnds", 1, 1, {90}).Sessions({{0, Play, L"A", 100}, {90, Gone, nullptr, 0}}),
        Row("SessionStopsWithWindow", 1, 1, {90})
            .Titles({{0, A}})
            .Sessions({{0, Play, L"A", 100}, {90, Stopped, L"A", 0}}),
        Row("PausedAtTheEnd", 1, 1, {90})
            .Titles({{0, A}})
            .Sessions({{0, Play, L"A", 100}, {90, Paused, L"A", 10}}),
        Row("PausedMidItem", 1, 1, {120})
            .Titles({{0, A}})
            .Sessions({{0, Play, L"A", 100}, {90, Paused, L"A", 11}}),
        Row("WindowGoneSessionPlays", 1, 1, {120})
            .Titles({{0, A}, {80, L""}})
            .Sessions({{0, Play, L"A", Untimed}}),
        // After the stop, what goes on is stopped again.
        Row("SessionPausesLate", 1, 0, {60, 62})
            .Titles({{0, A}})
            .IgnoresPause()
            .Sessions({{0, Play, L"A", 100}, {64, Paused, L"A", 96}}),
        Row("BrowserPlaysOn", 1, 0, {60, 70}).Titles({{0, A}, {70, B}}),
        // Both limits: whichever comes first.
        Row("CountLimitFirst", 5, 1, {100}).Titles({{0, A}}).CountStopsAt(100),
        Row("TimeLimitFirst", 1, 0, {60, 100}).Titles({{0, A}}).CountStopsAt(100),
        // An unlock and a new lock start afresh: the state and the clock.
        Row("RelockAfterStop", 1, 0, {60, 140}).Titles({{0, A}}).RelocksAt(80),
        // Sleep does not count, with either time source.
        Row("Sleep", 1, 1, {60}).Sleeps(30, 3600, true),
        Row("SleepOnTickCount", 1, 1, {60}).Sleeps(30, 3600, false),
        // The parent's minutes, the child's moon, the sessions' polling.
        Row("TwoMinutesLeft", 5, 1, {360}).Titles({{0, A}}).Shows(238, 2, false, false),
        Row("LastMinute", 5, 1, {360}).Titles({{0, A}}).Shows(240, 1, true, true)),
    [](const ::testing::TestParamInfo<LimitRow>& row) { return std::string(row.param.name); });

} // namespace
