// The record of the displays' own ramps under the program's own key, outside
// the settings values.
#include "gamma_record.h"
#include "../settings/key_path.h"
#include "../win/owner.h"
#include "../win/registry.h"
#include <cstring>

struct GammaRecordOwner {
    DWORD ProcessId;
    FILETIME Created;
};

static const char* const RecordParent = "SavedGamma";
static const char* const OwnerValue = "Owner";
// The least top entry a channel of a display's own ramp has: half full scale.
// Calibration warms or dims a white point by a few percent, a quarter at the
// very most; a channel that cannot reach half its light is a tint or a
// damaged value. Every reduced ramp this program writes has a blue channel of
// zeros, so a tint recorded by mistake never passes; neither do zeros.
static const WORD LeastRampTop = 0x8000;

static bool CurrentOwner(GammaRecordOwner* owner);
static bool OwnerStillRuns(const std::vector<BYTE>& recorded);
static bool RecordedByThisProcess();
static bool PlausibleDisplayRamp(const GammaRamp& ramp);
static bool TakeRecordAt(const std::string& path, DisplayGamma* displays, int count);
static void DeleteRecordAt(const std::string& path);

std::string GammaRecordKeyPath() {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return ProductKeyPath(RecordParent) + "\\" + std::to_string(session);
}

bool KeepGammaRecord(const DisplayGamma* displays, int count) {
    GammaRecordOwner owner;
    CRegistry record(true);
    if (!CurrentOwner(&owner) ||
        !record.Open(GammaRecordKeyPath().c_str(), HKEY_CURRENT_USER, KEY_SET_VALUE, true))
        return false;
    for (int i = 0; i < count; i++)
        record.Entry(displays[i].Device)
            ->SetBytes(reinterpret_cast<const BYTE*>(&displays[i].Own), sizeof(GammaRamp));
    // Written last: a record without its owner counts as left behind.
    record.Entry(OwnerValue)->SetBytes(reinterpret_cast<const BYTE*>(&owner), sizeof owner);
    return true;
}

void RemoveGammaRecord() {
    if (RecordedByThisProcess())
        DeleteRecordAt(GammaRecordKeyPath());
}

bool TakeAbandonedGammaRecord(DisplayGamma* displays, int count) {
    if (TakeRecordAt(GammaRecordKeyPath(), displays, count))
        return true;
    // The version before records per session kept its values right under the
    // parent key; a tint it left when it was killed is undone after an upgrade.
    return TakeRecordAt(ProductKeyPath(RecordParent), displays, count);
}

static bool TakeRecordAt(const std::string& path, DisplayGamma* displays, int count) {
    CRegistry record(false);
    if (!record.Open(path.c_str(), HKEY_CURRENT_USER, KEY_QUERY_VALUE, false))
        return false;
    // What is left of a record whose key could not be deleted, or a parent
    // key holding only the sessions' records.
    if (record.Entries.empty())
        return false;
    if (OwnerStillRuns(record.Entry(OwnerValue)->Bytes()))
        return false;
    for (int i = 0; i < count; i++) {
        CRegEntry* value = record.Entry(displays[i].Device);
        GammaRamp* own = &displays[i].Own;
        const bool whole = value->Type() == REG_BINARY && value->Bytes().size() == sizeof *own;
        if (whole)
            memcpy(own, value->Bytes().data(), sizeof *own);
        if (!whole || !PlausibleDisplayRamp(*own))
            FillLinearRamp(own);
    }
    record.Close();
    DeleteRecordAt(path); // its writer is gone: nobody else owns it
    return true;
}

static bool CurrentOwner(GammaRecordOwner* owner) {
    FILETIME exited, kernel, user;
    owner->ProcessId = GetCurrentProcessId();
    return GetProcessTimes(GetCurrentProcess(), &owner->Created, &exited, &kernel, &user) != 0;
}

// The creation time tells the writer from a later process that happens to
// get the same id.
static bool OwnerStillRuns(const std::vector<BYTE>& recorded) {
    GammaRecordOwner owner;
    if (recorded.size() != sizeof owner)
        return false;
    memcpy(&owner, recorded.data(), sizeof owner);
    OwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner.ProcessId));
    if (!process)
        return false;
    FILETIME created, exited, kernel, user;
    DWORD exitCode = 0;
    return GetProcessTimes(process, &created, &exited, &kernel, &user) &&
           CompareFileTime(&created, &owner.Created) == 0 &&
           GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
}

static bool RecordedByThisProcess() {
    GammaRecordOwner mine, recorded;
    OwnedRegistryKey key;
    DWORD size = sizeof recorded;
    return CurrentOwner(&mine) &&
           RegOpenKeyExA(HKEY_CURRENT_USER, GammaRecordKeyPath().c_str(), 0, KEY_QUERY_VALUE,
                         key.Receive()) == ERROR_SUCCESS &&
           RegQueryValueExA(key, OwnerValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&recorded),
                            &size) == ERROR_SUCCESS &&
           size == sizeof recorded && recorded.ProcessId == mine.ProcessId &&
           CompareFileTime(&recorded.Created, &mine.Created) == 0;
}

// Every channel rises or stays level, and reaches at least LeastRampTop.
static bool PlausibleDisplayRamp(const GammaRamp& ramp) {
    for (const WORD* channel : {ramp.Red, ramp.Green, ramp.Blue}) {
        for (int i = 1; i < 256; i++)
            if (channel[i] < channel[i - 1])
                return false;
        if (channel[255] < LeastRampTop)
            return false;
    }
    return true;
}

// A key that cannot go (its rights, or a key below it: the parent holds the
// sessions' records) is emptied value by value instead; a key without values
// is no record. The parent goes too once no session has a record under it.
static void DeleteRecordAt(const std::string& path) {
    if (RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str()) != ERROR_SUCCESS) {
        OwnedRegistryKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          key.Receive()) == ERROR_SUCCESS) {
            char name[260];
            DWORD length = sizeof name;
            // Always the first: each deletion moves the rest up.
            while (RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                       ERROR_SUCCESS &&
                   RegDeleteValueA(key, name) == ERROR_SUCCESS)
                length = sizeof name;
        }
    }
    // Fails while a session's record is under it; a value of the version
    // before must not go with it unread.
    const std::string parent = ProductKeyPath(RecordParent);
    OwnedRegistryKey key;
    DWORD values = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, parent.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) !=
            ERROR_SUCCESS ||
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        values != 0)
        return;
    key.Reset();
    RegDeleteKeyA(HKEY_CURRENT_USER, parent.c_str());
}
