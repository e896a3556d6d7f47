// Windows Runtime calls without an import of combase.dll.
#include "winrt_runtime.h"

template <typename Function> static bool Find(HMODULE module, const char* name, Function* found) {
    FARPROC address = GetProcAddress(module, name);
    *found = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
    return address != nullptr;
}

WinRtRuntime::~WinRtRuntime() {
    if (entered)
        uninitialize();
}

bool WinRtRuntime::Start() {
    if (module)
        return true;
    // From the system folder only, so no file beside the program is loaded in
    // its place. Windows Vista and 7 fail here: they have no combase.dll.
    module.Reset(LoadLibraryExW(L"combase.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module)
        return false;
    const int singleThreaded = 0;
    HRESULT result = E_NOINTERFACE;
    if (Find(module, "RoInitialize", &initialize) &&
        Find(module, "RoUninitialize", &uninitialize) &&
        Find(module, "RoGetActivationFactory", &getFactory) &&
        Find(module, "WindowsCreateString", &createString) &&
        Find(module, "WindowsDeleteString", &deleteString) &&
        Find(module, "WindowsGetStringRawBuffer", &stringBuffer))
        result = initialize(singleThreaded);
    // S_FALSE: the thread was in the runtime already, and this call still
    // counts. RPC_E_CHANGED_MODE: in it another way, which serves as well
    // but must not be left by this object.
    entered = SUCCEEDED(result);
    if (entered || result == RPC_E_CHANGED_MODE)
        return true;
    module.Reset();
    return false;
}

HRESULT WinRtRuntime::Factory(const wchar_t* className, REFIID iid, void** factory) const {
    *factory = nullptr;
    HSTRING name = nullptr;
    HRESULT result = createString(className, static_cast<UINT32>(wcslen(className)), &name);
    if (FAILED(result))
        return result;
    result = getFactory(name, iid, factory);
    deleteString(name);
    return result;
}

std::wstring WinRtRuntime::Take(HSTRING text) const {
    if (!text)
        return std::wstring();
    UINT32 length = 0;
    const wchar_t* buffer = stringBuffer(text, &length);
    std::wstring result(buffer ? buffer : L"", buffer ? length : 0);
    deleteString(text);
    return result;
}
