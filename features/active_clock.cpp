// The lock's own clock. The tick count goes on through sleep, and a
// wall-clock time can be set back by the user or the time service; the
// unbiased interrupt time does neither. Where the system lacks it, the tick
// count serves, with the time between the suspend and the resume notices
// taken out.
#include "active_clock.h"
#include "../win/system_call.h"

static BOOL WINAPI NoUnbiasedTime(PULONGLONG) {
    return FALSE;
}

// Windows Vista has no QueryUnbiasedInterruptTime.
static UnbiasedTimeFunction SystemUnbiasedTime() {
    UnbiasedTimeFunction found =
        LookUpSystemCall<UnbiasedTimeFunction>("kernel32.dll", "QueryUnbiasedInterruptTime");
    return found ? found : NoUnbiasedTime;
}

TimeSources Clocks = {SystemUnbiasedTime(), GetTickCount64};

static const ULONGLONG UnbiasedUnitsPerMs = 10000;

ULONGLONG ActiveClock::Now() const {
    if (!unbiased)
        return Clocks.ReadTickCount();
    ULONGLONG time = 0;
    Clocks.ReadUnbiasedTime(&time);
    return time / UnbiasedUnitsPerMs;
}

void ActiveClock::Start() {
    ULONGLONG time = 0;
    unbiased = Clocks.ReadUnbiasedTime(&time) != FALSE;
    asleep = 0;
    suspended = false;
    start = Now();
}

ULONGLONG ActiveClock::ElapsedMs() const {
    ULONGLONG now = suspended ? suspendedAt : Now();
    ULONGLONG elapsed = now > start ? now - start : 0;
    return elapsed > asleep ? elapsed - asleep : 0;
}

void ActiveClock::Suspending() {
    if (unbiased || suspended)
        return;
    suspended = true;
    suspendedAt = Now();
}

void ActiveClock::Resumed() {
    if (!suspended)
        return;
    suspended = false;
    ULONGLONG now = Now();
    if (now > suspendedAt)
        asleep += now - suspendedAt;
}
