// The viewing-time limit while a lock runs: the tick reads the video window's
// title (and the media sessions when the decision asks for them), lets the
// decision speak, and acts on it.
#include "viewing_limit_run.h"
#include "lock_session.h"
#include "shield.h"
#include "../features/active_clock.h"
#include "../features/media_session.h"
#include "../features/video_counter.h"
#include "../features/video_title.h"
#include "../features/viewing_limit.h"
#include "../res/resource.h"
#include "../res/timer_ids.h"
#include "../win/string_table.h"
#include "../win/system_tray.h"
#include <memory>

namespace {

class ViewingLimitRun {
  public:
    ViewingLimitRun(const ViewingLimits& chosen, bool countingVideos)
        : limits(chosen), countVideos(countingVideos), media(OpenMediaSessions()) {
        clock.Start();
    }
    ViewingLimitRun(const ViewingLimitRun&) = delete;
    ViewingLimitRun& operator=(const ViewingLimitRun&) = delete;

    // One look at what plays and the decision on it; the window watched, if any.
    HWND Look() {
        ViewingTick tick;
        tick.ActiveMs = clock.ElapsedMs();
        HWND video = FindVideoWindowW(&tick.Title);
        if (countVideos)
            tick.CountLimitStops = VideoTickStops(CountVideoTitle(tick.Title));
        if (last.PollMedia)
            tick.Media = media->Poll(); // never waits: reads under way move on here
        last = DecideViewingLimit(limits, tick, &state);
        return video;
    }
    std::wstring TipLine() const {
        switch (last.Phase) {
        case ViewingBeforeLimit:
            return FormatText(IDS_LIMIT_TIP_LEFT, last.MinutesLeft);
        case ViewingFinishing:
            return LoadText(IDS_LIMIT_TIP_FINISHING);
        case ViewingStopped:
            break;
        }
        return LoadText(IDS_LIMIT_TIP_OVER);
    }

    const ViewingLimits limits;
    const bool countVideos;
    ActiveClock clock;
    ViewingLimitState state;
    ViewingDecision last;
    std::wstring tipShown; // the tooltip's line the tray shows now
    // Released with the run: every runtime interface, and combase.dll with them.
    std::unique_ptr<MediaSessionSource> media;
};

std::unique_ptr<ViewingLimitRun> Run;

} // namespace

void StartViewingLimit(const ViewingLimits& limits, bool countVideos) {
    Run.reset(new ViewingLimitRun(limits, countVideos));
    // The first look names the video playing now, so that only a change from
    // it counts as another; at 0 minutes it never stops anything.
    Run->Look();
    // A limit of a minute starts in its last minute; covers made from here
    // on show the moon.
    Shield.ShowMoon(Run->last.LastMinute);
    SetTimer(Lock.Host.Window, ViewingLimitTimerId, ViewingLimitInterval, ViewingLimitTick);
}

void StopViewingLimit() {
    KillTimer(Lock.Host.Window, ViewingLimitTimerId);
    Run.reset();
    Shield.ShowMoon(false);
}

bool ViewingLimitRunning() {
    return Run != nullptr;
}

void CALLBACK ViewingLimitTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!Run)
        return;
    HWND video = Run->Look();
    if (Run->last.Action == ViewingStopNow) {
        // Again on a later tick if the browser stayed and plays on, or a
        // session did not pause: every step is safe to repeat.
        StopVideoAtLimit(video);
        Run->media->Pause();
    }
    if (Run->TipLine() != Run->tipShown)
        ShowLockedTooltip();
    if (Run->last.LastMinute != Shield.MoonShown())
        Shield.ShowMoon(Run->last.LastMinute);
}

void NoteViewingLimitPowerEvent(WPARAM event) {
    if (!Run)
        return;
    if (event == PBT_APMSUSPEND)
        Run->clock.Suspending();
    else if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
        Run->clock.Resumed();
}

void ShowLockedTooltip() {
    std::wstring tip = Lock.Host.UnlockTipText;
    if (Run) {
        Run->tipShown = Run->TipLine();
        tip += L"\n" + Run->tipShown;
    }
    Lock.Host.Tray->SetTrayTooltip(tip.c_str());
}

std::wstring LockedBalloonText(const std::wstring& locked) {
    if (!Run)
        return locked;
    return locked + L"\n" + FormatText(IDS_LIMIT_BALLOON, Run->limits.ViewingMinutes);
}
