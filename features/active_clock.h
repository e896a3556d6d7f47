// The time a lock has been engaged, sleep and hibernation left out.
#pragma once
#include <windows.h>

// The two time sources, each reached through a pointer that tests replace:
// the interrupt time without the time spent asleep, in 100 ns units
// (QueryUnbiasedInterruptTime, Windows 7 on; none before, where the clock
// falls back on the tick count), and the tick count in milliseconds.
typedef BOOL(WINAPI* UnbiasedTimeFunction)(PULONGLONG time);
typedef ULONGLONG(WINAPI* TickCountFunction)();
struct TimeSources {
    UnbiasedTimeFunction ReadUnbiasedTime;
    TickCountFunction ReadTickCount;
};
extern TimeSources Clocks;

class ActiveClock {
  public:
    ActiveClock() = default;
    ActiveClock(const ActiveClock&) = delete;
    ActiveClock& operator=(const ActiveClock&) = delete;

    // Starts from 0, forgetting any earlier lock.
    void Start();
    // Milliseconds since Start, not counting sleep or hibernation.
    ULONGLONG ElapsedMs() const;
    // WM_POWERBROADCAST: PBT_APMSUSPEND, and either resume (a second one
    // after the first changes nothing).
    void Suspending();
    void Resumed();

  private:
    ULONGLONG Now() const;

    bool unbiased = false;
    ULONGLONG start = 0;
    ULONGLONG asleep = 0;      // tick count only: the time spent asleep so far
    ULONGLONG suspendedAt = 0; // tick count only: when the system went to sleep
    bool suspended = false;
};
