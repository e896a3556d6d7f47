// A small non-copyable owner of one COM interface pointer, released with it.
#pragma once
#include <windows.h>

template <typename Interface> class ComReference {
  public:
    ComReference() : pointer(nullptr) {}
    ~ComReference() { Reset(); }
    ComReference(const ComReference&) = delete;
    ComReference& operator=(const ComReference&) = delete;
    void Reset() {
        if (pointer)
            pointer->Release();
        pointer = nullptr;
    }
    // The out-parameter of a call that hands out a reference; any reference
    // held so far is released first.
    void** Receive() {
        Reset();
        return reinterpret_cast<void**>(&pointer);
    }
    Interface* Get() const { return pointer; }
    Interface* operator->() const { return pointer; }

  private:
    Interface* pointer;
};
