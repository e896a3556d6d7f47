#include "support/registry_write_recorder.h"
#include "win/registry.h"

static std::vector<RecordedWrite> writes;
static SetValueAFunction realAnsi = nullptr;
static SetValueWFunction realWide = nullptr;

static LONG WINAPI RecordAnsi(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                              DWORD size) {
    writes.push_back(
        {name ? name : "", type, std::string(reinterpret_cast<const char*>(data), size)});
    return realAnsi(key, name, reserved, type, data, size);
}

static LONG WINAPI RecordWide(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                              DWORD size) {
    char narrowName[260] = {};
    WideCharToMultiByte(CP_ACP, 0, name ? name : L"", -1, narrowName, sizeof narrowName, nullptr,
                        nullptr);
    std::string narrow(size, '\0');
    int length = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(data),
                                     static_cast<int>(size / 2), &narrow[0], static_cast<int>(size),
                                     nullptr, nullptr);
    narrow.resize(length > 0 ? length : 0);
    writes.push_back({narrowName, type, narrow});
    return realWide(key, name, reserved, type, data, size);
}

void StartRecordingRegistryWrites() {
    writes.clear();
    if (realAnsi)
        return;
    realAnsi = RegistryWrites.SetRegistryValueA;
    realWide = RegistryWrites.SetRegistryValueW;
    RegistryWrites.SetRegistryValueA = RecordAnsi;
    RegistryWrites.SetRegistryValueW = RecordWide;
}

void StopRecordingRegistryWrites() {
    if (!realAnsi)
        return;
    RegistryWrites.SetRegistryValueA = realAnsi;
    RegistryWrites.SetRegistryValueW = realWide;
    realAnsi = nullptr;
    realWide = nullptr;
}

std::vector<RecordedWrite>& RecordedWrites() {
    return writes;
}
