// Bounded waiting for tests: nothing here can wait forever.
#pragma once
#include <windows.h>
#include <functional>

// Dispatches this thread's messages (timers, hooks, windows) for ms milliseconds.
void PumpMessagesFor(DWORD ms);
// Pumps messages until condition() holds or timeoutMs passes; returns condition().
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
