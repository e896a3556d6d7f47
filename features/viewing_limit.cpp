// The viewing-time limit's decision: plain rules over what the tick sees, so
// that every sequence of titles, sessions and times can be tried in a table.
#include "viewing_limit.h"
#include "video_title.h"

static bool IsPlaying(const MediaSnapshot& media);
static bool IsOpen(const MediaSnapshot& media);
static std::wstring ItemOf(const MediaSnapshot& media);
static bool IsAnotherVideo(const ViewingLimitState& before, const ViewingTick& tick);
static bool IsNaturalBreak(const ViewingLimitState& before, const ViewingTick& tick);
static void Remember(const ViewingTick& tick, ViewingLimitState* state);

static const unsigned long long MsPerMinute = 60000;

static bool IsPlaying(const MediaSnapshot& media) {
    return media.Present && media.Status == MediaPlaying;
}

static bool IsOpen(const MediaSnapshot& media) {
    return media.Present && media.Status != MediaClosed && media.Status != MediaStopped;
}

static std::wstring ItemOf(const MediaSnapshot& media) {
    if (!media.Present || (media.Title.empty() && media.Artist.empty()))
        return std::wstring();
    return media.Title + L'\n' + media.Artist;
}

static bool IsAnotherVideo(const ViewingLimitState& before, const ViewingTick& tick) {
    return !tick.Title.empty() && !IsSameVideo(tick.Title, before.LastTitle);
}

// Since the last tick: another video in the window, another item in the
// session, the session ended, or it paused at the end of its item.
static bool IsNaturalBreak(const ViewingLimitState& before, const ViewingTick& tick) {
    const MediaSnapshot& media = tick.Media;
    std::wstring item = ItemOf(media);
    bool anotherItem = !item.empty() && !before.LastItem.empty() && item != before.LastItem;
    bool ended = before.SessionOpen && !IsOpen(media);
    bool pausedAtEnd = before.SessionPlaying && media.Present && media.Status == MediaPaused &&
                       media.HasTimeline && media.EndMs - media.PositionMs <= NearEndMs;
    return IsAnotherVideo(before, tick) || anotherItem || ended || pausedAtEnd;
}

static void Remember(const ViewingTick& tick, ViewingLimitState* state) {
    RememberVideoTitle(tick.Title, &state->LastTitle);
    std::wstring item = ItemOf(tick.Media);
    if (!item.empty())
        state->LastItem = item;
    state->SessionOpen = IsOpen(tick.Media);
    state->SessionPlaying = IsPlaying(tick.Media);
}

ViewingDecision DecideViewingLimit(const ViewingLimits& limits, const ViewingTick& tick,
                                   ViewingLimitState* state) {
    bool naturalBreak = IsNaturalBreak(*state, tick);
    bool anotherVideo = IsAnotherVideo(*state, tick);
    Remember(tick, state);
    bool watched = !tick.Title.empty() || IsPlaying(tick.Media);
    bool timeLimit = limits.ViewingMinutes > 0;
    unsigned long long limitMs = timeLimit ? limits.ViewingMinutes * MsPerMinute : 0;
    unsigned long long finishMs =
        limits.FinishVideoMinutes > 0 ? limits.FinishVideoMinutes * MsPerMinute : 0;
    bool stop = tick.CountLimitStops;
    switch (state->Phase) {
    case ViewingStopped:
        // Something goes on behind the dark screen: a browser that did not
        // close and plays the next video, or a session that did not pause.
        stop = stop || anotherVideo || IsPlaying(tick.Media);
        break;
    case ViewingBeforeLimit:
        if (stop || !timeLimit || tick.ActiveMs < limitMs)
            break;
        if (!watched || finishMs == 0) {
            stop = true;
            break;
        }
        state->Phase = ViewingFinishing;
        [[fallthrough]];
    case ViewingFinishing:
        stop = stop || naturalBreak || !watched || tick.ActiveMs >= limitMs + finishMs;
        break;
    }
    if (stop) {
        state->Phase = ViewingStopped;
        state->TicksSinceStop = 0;
    } else if (state->Phase == ViewingStopped) {
        state->TicksSinceStop++;
    }

    ViewingDecision decision;
    decision.Action = stop ? ViewingStopNow : ViewingKeepWaiting;
    decision.Phase = state->Phase;
    bool before = state->Phase == ViewingBeforeLimit;
    unsigned long long leftMs = before && timeLimit ? limitMs - tick.ActiveMs : 0;
    decision.MinutesLeft = static_cast<int>((leftMs + MsPerMinute - 1) / MsPerMinute);
    decision.LastMinute = !before || (timeLimit && leftMs <= MsPerMinute);
    decision.PollMedia = before ? timeLimit && tick.ActiveMs + MediaLeadMs >= limitMs
                                : state->Phase == ViewingFinishing || state->SessionPlaying ||
                                      state->TicksSinceStop < TicksWatchedAfterStop;
    return decision;
}
