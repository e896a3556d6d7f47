// One non-copyable owner for every handle the program frees: windows, hooks,
// registry keys, GDI objects, device contexts, menus, icons, kernel handles,
// loaded modules and COM references. Free says how the handle goes back. Outside this folder
// no code calls a free or close function itself: an owner going out of scope,
// or its Reset, does.
#pragma once
#include <windows.h>
#include <unknwn.h>

template <typename Handle, typename Free> class Owned {
  public:
    Owned() : handle(nullptr), freeHandle() {}
    explicit Owned(Handle owned, Free how = Free()) : handle(owned), freeHandle(how) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle(other.Release()), freeHandle(other.freeHandle) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset();
            freeHandle = other.freeHandle;
            handle = other.Release();
        }
        return *this;
    }

    // Frees what is held, then holds the new handle. While the old one is
    // being freed Get still returns it: a window's own WM_DESTROY asks which
    // window is going.
    void Reset(Handle owned = nullptr) {
        if (handle)
            freeHandle(handle);
        handle = owned;
    }
    // Lets go of the handle without freeing it (it went some other way).
    Handle Release() {
        Handle released = handle;
        handle = nullptr;
        return released;
    }
    // The out-parameter of a call that hands out a handle; whatever was held
    // is freed first.
    Handle* Receive() {
        Reset();
        return &handle;
    }
    Handle Get() const { return handle; }
    operator Handle() const { return handle; }
    Handle operator->() const { return handle; }

  private:
    Handle handle;
    Free freeHandle;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
// A memory DC, or a display's DC made with CreateDC.
struct DeleteDeviceContext {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
// A DC borrowed with GetDC goes back to the window it came from.
struct ReleaseWindowDC {
    HWND window;
    void operator()(HDC dc) const { ReleaseDC(window, dc); }
};
struct CloseRegistryKey {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
struct RemoveHook {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
struct CloseKernelHandle {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// A mutex this thread holds is let go before its handle is closed: closing
// alone leaves it held until the thread ends whenever another process has it
// open at that moment.
struct ReleaseHeldMutex {
    void operator()(HANDLE mutex) const {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
};
struct DestroyMenuHandle {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct FreeModuleHandle {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
// A window may already be gone with its owner (the padlock goes with the
// cover that owns it); only a live one is destroyed.
struct DestroyOwnedWindow {
    void operator()(HWND window) const {
        if (IsWindow(window))
            DestroyWindow(window);
    }
};
struct ReleaseComReference {
    void operator()(IUnknown* object) const { object->Release(); }
};

typedef Owned<HFONT, DeleteGdiObject> OwnedFont;
typedef Owned<HBITMAP, DeleteGdiObject> OwnedBitmap;
typedef Owned<HDC, DeleteDeviceContext> OwnedDC;
typedef Owned<HDC, ReleaseWindowDC> WindowDC;
typedef Owned<HKEY, CloseRegistryKey> OwnedRegistryKey;
typedef Owned<HHOOK, RemoveHook> OwnedHook;
typedef Owned<HANDLE, CloseKernelHandle> OwnedHandle;
typedef Owned<HANDLE, ReleaseHeldMutex> HeldMutex;
typedef Owned<HMENU, DestroyMenuHandle> OwnedMenu;
typedef Owned<HICON, DestroyIconHandle> OwnedIcon;
typedef Owned<HMODULE, FreeModuleHandle> OwnedModule;
typedef Owned<HWND, DestroyOwnedWindow> OwnedWindow;
template <typename Interface> using ComReference = Owned<Interface*, ReleaseComReference>;
