#include "session_mutex.h"
#include <string>

HeldMutex TakeSessionMutex(const wchar_t* name) {
    std::wstring local = std::wstring(L"Local\\") + name;
    // Created unowned and then waited on rather than created owned: whether
    // the name existed tells nothing about a holder (a copy that is just
    // looking has it open too), and only the wait takes over an abandoned one.
    OwnedHandle mutex(CreateMutexW(nullptr, FALSE, local.c_str()));
    if (!mutex)
        return HeldMutex();
    DWORD result = WaitForSingleObject(mutex, 0);
    if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED)
        return HeldMutex();
    return HeldMutex(mutex.Release());
}
