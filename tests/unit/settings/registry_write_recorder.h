// Records every RegSetValueExA and RegSetValueExW the test executable makes,
// by redirecting its imports of them, so a test can see which values were written and in
// which order (Wine enumerates values sorted by name, which hides the order).
// Header-only so the settings store tests can use it too.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

struct RecordedWrite {
    std::string name;
    DWORD type;
    std::string data;
};

typedef LONG(WINAPI* RegSetValueExAFunction)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);

inline std::vector<RecordedWrite>& RecordedWrites() {
    static std::vector<RecordedWrite> writes;
    return writes;
}

inline RegSetValueExAFunction& RealRegSetValueExA() {
    static RegSetValueExAFunction real = nullptr;
    return real;
}

inline LONG WINAPI RecordingRegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                                           const BYTE* data, DWORD size) {
    RecordedWrites().push_back(
        {name ? name : "", type, std::string(reinterpret_cast<const char*>(data), size)});
    return RealRegSetValueExA()(key, name, reserved, type, data, size);
}

typedef LONG(WINAPI* RegSetValueExWFunction)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);

inline RegSetValueExWFunction& RealRegSetValueExW() {
    static RegSetValueExWFunction real = nullptr;
    return real;
}

// A wide write is recorded as an ANSI reader of the value would see it.
inline LONG WINAPI RecordingRegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                           const BYTE* data, DWORD size) {
    char narrowName[260] = {};
    WideCharToMultiByte(CP_ACP, 0, name ? name : L"", -1, narrowName, sizeof narrowName, nullptr,
                        nullptr);
    std::string narrow(size, '\0');
    int length = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(data),
                                     static_cast<int>(size / 2), &narrow[0], static_cast<int>(size),
                                     nullptr, nullptr);
    narrow.resize(length > 0 ? length : 0);
    RecordedWrites().push_back({narrowName, type, narrow});
    return RealRegSetValueExW()(key, name, reserved, type, data, size);
}

// Replaces every import slot of this executable that holds `from` by `to`.
inline int PatchImportSlots(void* from, void* to) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return 0;
    int patched = 0;
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; descriptor->Name; descriptor++) {
        auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; thunk->u1.Function; thunk++) {
            if (reinterpret_cast<void*>(static_cast<uintptr_t>(thunk->u1.Function)) != from)
                continue;
            DWORD oldProtection;
            VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, PAGE_READWRITE,
                           &oldProtection);
            thunk->u1.Function =
                static_cast<decltype(thunk->u1.Function)>(reinterpret_cast<uintptr_t>(to));
            VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, oldProtection,
                           &oldProtection);
            patched++;
        }
    }
    return patched;
}

// Starts recording (clearing earlier records); true when the import was found.
inline bool StartRecordingRegistryWrites() {
    RecordedWrites().clear();
    if (RealRegSetValueExA())
        return true;
    void* real =
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegSetValueExA"));
    if (!real)
        return false;
    RealRegSetValueExA() = reinterpret_cast<RegSetValueExAFunction>(real);
    if (PatchImportSlots(real, reinterpret_cast<void*>(&RecordingRegSetValueExA)) == 0) {
        RealRegSetValueExA() = nullptr;
        return false;
    }
    void* wide =
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegSetValueExW"));
    RealRegSetValueExW() = reinterpret_cast<RegSetValueExWFunction>(wide);
    if (wide)
        PatchImportSlots(wide, reinterpret_cast<void*>(&RecordingRegSetValueExW));
    return true;
}

inline void StopRecordingRegistryWrites() {
    if (!RealRegSetValueExA())
        return;
    PatchImportSlots(reinterpret_cast<void*>(&RecordingRegSetValueExA),
                     reinterpret_cast<void*>(RealRegSetValueExA()));
    RealRegSetValueExA() = nullptr;
    if (RealRegSetValueExW())
        PatchImportSlots(reinterpret_cast<void*>(&RecordingRegSetValueExW),
                         reinterpret_cast<void*>(RealRegSetValueExW()));
    RealRegSetValueExW() = nullptr;
}
