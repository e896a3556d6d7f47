// The viewing-time limit's two stored values, in a key of their own beside the
// settings key, so that the settings keep exactly their eleven values.
#pragma once
#include <string>

// Under HKEY_CURRENT_USER: "Software\<maker>\<product>\Limits", beside the
// settings key (SettingsKeyPath, where one is set).
std::wstring LimitsKeyPath();

// The stored values are honoured as minutes from 1 to this.
const int MostLimitMinutes = 600;
// The grace after the limit for the video to finish, when none is stored.
const int DefaultFinishVideoMinutes = 10;

struct ViewingLimits {
    int ViewingMinutes = 0;                             // 0: no time limit
    int FinishVideoMinutes = DefaultFinishVideoMinutes; // 0: stop on the minute
};

// Reads both values from keyPath (none: LimitsKeyPath; a test may pass another
// key). A missing key
// or value, or one that is not REG_SZ text of a whole number from 1 to
// MostLimitMinutes (0 too for FinishVideoMinutes), gives the default; nothing
// is written.
ViewingLimits LoadViewingLimits(const wchar_t* keyPath = nullptr);
// Writes both values as decimal REG_SZ text, creating the key; false when the
// key could be neither opened nor created.
bool SaveViewingLimits(const ViewingLimits& limits, const wchar_t* keyPath = nullptr);
