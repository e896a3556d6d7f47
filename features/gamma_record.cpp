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

static const char* const OwnerValue = "Owner";

static bool CurrentOwner(GammaRecordOwner* owner);
static bool OwnerStillRuns(const std::vector<BYTE>& recorded);

// Read during static initialisation, before any resource text is loaded.
std::string GammaRecordKeyPath() {
    return ProductKeyPath("SavedGamma");
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
    RegDeleteKeyA(HKEY_CURRENT_USER, GammaRecordKeyPath().c_str());
}

bool TakeAbandonedGammaRecord(DisplayGamma* displays, int count) {
    CRegistry record(false);
    if (!record.Open(GammaRecordKeyPath().c_str(), HKEY_CURRENT_USER, KEY_QUERY_VALUE, false))
        return false;
    if (OwnerStillRuns(record.Entry(OwnerValue)->Bytes()))
        return false;
    for (int i = 0; i < count; i++) {
        CRegEntry* value = record.Entry(displays[i].Device);
        if (value->Type() == REG_BINARY && value->Bytes().size() == sizeof(GammaRamp))
            memcpy(&displays[i].Own, value->Bytes().data(), sizeof(GammaRamp));
        else
            FillLinearRamp(&displays[i].Own);
    }
    RemoveGammaRecord();
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
