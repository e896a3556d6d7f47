// A COM apartment for the length of one use of a COM component.
#pragma once
#include <objbase.h>

// A thread that has none gets a single-threaded apartment and leaves it
// afterwards; a thread already in one (of either kind: a multithreaded one
// answers RPC_E_CHANGED_MODE) keeps it as it is.
class ComApartment {
  public:
    ComApartment()
        : joined(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(joined))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Usable() const { return SUCCEEDED(joined) || joined == RPC_E_CHANGED_MODE; }

  private:
    HRESULT joined;
};
