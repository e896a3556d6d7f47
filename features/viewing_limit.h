// The viewing-time limit, decided on each tick of a lock that has one: on the
// minute when nothing is watched, else at the video's natural end, within
// the minutes the parent allows it to finish.
#pragma once
#include "media_session.h"
#include "../settings/limits_store.h"
#include <string>

enum ViewingPhase {
    ViewingBeforeLimit, // the limit not reached yet
    ViewingFinishing,   // past the limit: the video finishes
    ViewingStopped,     // the viewing has been stopped
};

// What one tick hands on to the next. Every lock starts from a fresh one.
struct ViewingLimitState {
    ViewingPhase Phase = ViewingBeforeLimit;
    // The watched window's video; without a notification count once it has
    // been seen without one.
    std::wstring LastTitle;
    std::wstring LastItem; // the media session's item; empty until known
    bool SessionOpen = false;
    bool SessionPlaying = false;
    int TicksSinceStop = 0;
};

// What one tick sees.
struct ViewingTick {
    unsigned long long ActiveMs = 0; // since the lock engaged, sleep left out
    std::wstring Title;              // the watched window's title; empty: no such window
    MediaSnapshot Media;             // empty when the sessions were not polled
    bool CountLimitStops = false;    // the video count limit ends the viewing now
};

enum ViewingAction {
    ViewingKeepWaiting,
    // Close the watched window, make every cover opaque (covers up if the
    // lock has none), and pause any playing session.
    ViewingStopNow,
};

struct ViewingDecision {
    ViewingAction Action = ViewingKeepWaiting;
    ViewingPhase Phase = ViewingBeforeLimit;
    int MinutesLeft = 0;     // before the limit: whole minutes left, rounded up
    bool LastMinute = false; // the last minute before the limit, and everything after it
    bool PollMedia = false;  // the next tick needs the media sessions' state
};

// How close to its end an item that pauses counts as finished. Players pause
// on their own at the end, often a little short of it, and the position they
// publish can be a few seconds old; nobody else can pause while input is
// locked. Ten seconds is more than a tick and that lag together, and less
// than the shortest video is long.
const long long NearEndMs = 10000;
// The sessions are read from this long before the limit, so that what plays
// is known at the limit (the first answers take a tick or two).
const unsigned long long MediaLeadMs = 60000;
// After a stop, the sessions are read for this many ticks at least, so that a
// session still playing is found and paused even when the video count limit
// stopped the viewing before any read.
const int TicksWatchedAfterStop = 5;

ViewingDecision DecideViewingLimit(const ViewingLimits& limits, const ViewingTick& tick,
                                   ViewingLimitState* state);
