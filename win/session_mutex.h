// A named mutex that one process of the user's session holds at a time.
#pragma once
#include "owner.h"

// Takes the mutex of that name in the session's own namespace ("Local\").
// Empty when another process of the session holds it. Asking and taking are
// one step for the kernel, so of copies started together exactly one gets it;
// a holder that ended without letting go (killed) counts as gone. The thread
// that takes it must be the one that lets it go.
HeldMutex TakeSessionMutex(const wchar_t* name);
