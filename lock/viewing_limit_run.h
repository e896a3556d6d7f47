// A lock's viewing-time limit, from the engagement of a lock that has one to
// its release: the lock's clock, what the last ticks saw, the media sessions,
// timer ViewingLimitTimerId on the main window, and what the tray and the
// padlock show of it. Nothing of it exists, and nothing runs, while unlocked.
#pragma once
#include "../settings/limits_store.h"
#include <windows.h>
#include <string>

// Poll interval of the title walk and, near and past the limit, of the sessions.
const UINT ViewingLimitInterval = 2000;

// A lock engages with a limit: the clock starts from 0, a first look at the
// video window and the timer. countVideos: the video counter is on as well;
// the limit's tick then counts the videos too (one walk a tick), and the
// counter's own timer is not started.
void StartViewingLimit(const ViewingLimits& limits, bool countVideos);
// The release: the timer stops, the sessions are let go, the padlock is a
// padlock again.
void StopViewingLimit();
bool ViewingLimitRunning();
// Timer ViewingLimitTimerId: decides, stops the viewing when it is time, and
// updates the tooltip and the padlock's picture when they change.
void CALLBACK ViewingLimitTick(HWND window, UINT message, UINT_PTR id, DWORD time);
// WM_POWERBROADCAST while locked: time asleep does not count.
void NoteViewingLimitPowerEvent(WPARAM event);

// The locked tooltip, with the limit's line under it while a limit runs.
void ShowLockedTooltip();
// The lock balloon's text, naming the limit when there is one.
std::wstring LockedBalloonText(const std::wstring& locked);
