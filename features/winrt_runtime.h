// The few Windows Runtime entry points of combase.dll, looked up at run time:
// the program must still start on Windows Vista and 7, which lack them.
#pragma once
#include "../win/owner.h"
#include <windows.h>
#include <hstring.h>
#include <string>

class WinRtRuntime {
  public:
    WinRtRuntime() = default;
    // Leaves the runtime if Start entered it, and unloads combase.dll: every
    // interface got through it must be released before.
    ~WinRtRuntime();
    WinRtRuntime(const WinRtRuntime&) = delete;
    WinRtRuntime& operator=(const WinRtRuntime&) = delete;

    // Loads combase.dll and enters the runtime on this thread, single-threaded;
    // false where either is missing or fails.
    bool Start();
    // The activation factory of a runtime class, as the interface iid.
    HRESULT Factory(const wchar_t* className, REFIID iid, void** factory) const;
    // The text of a string the runtime handed out, which is deleted here.
    std::wstring Take(HSTRING text) const;

  private:
    typedef HRESULT(WINAPI* InitializeFunction)(int type);
    typedef void(WINAPI* UninitializeFunction)();
    typedef HRESULT(WINAPI* FactoryFunction)(HSTRING className, REFIID iid, void** factory);
    typedef HRESULT(WINAPI* CreateStringFunction)(const wchar_t* text, UINT32 length,
                                                  HSTRING* string);
    typedef HRESULT(WINAPI* DeleteStringFunction)(HSTRING string);
    typedef const wchar_t*(WINAPI* StringBufferFunction)(HSTRING string, UINT32* length);

    OwnedModule module;   // freed after the destructor's RoUninitialize
    bool entered = false; // this object's RoInitialize is to be balanced
    InitializeFunction initialize = nullptr;
    UninitializeFunction uninitialize = nullptr;
    FactoryFunction getFactory = nullptr;
    CreateStringFunction createString = nullptr;
    DeleteStringFunction deleteString = nullptr;
    StringBufferFunction stringBuffer = nullptr;
};
