// Calls of newer Windows versions, looked up at run time: a static import of
// one would keep the program from starting at all on an older system.
#pragma once
#include <windows.h>

// The function of that name in a system module, or null where the system has
// none. A module not loaded yet is loaded from the system folder and stays.
template <typename Function> Function LookUpSystemCall(const char* module, const char* name) {
    HMODULE loaded = GetModuleHandleA(module);
    if (!loaded)
        loaded = LoadLibraryExA(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return loaded
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
               : nullptr;
}
