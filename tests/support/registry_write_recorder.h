// Records every value the registry layer writes, through its two write seams,
// so a test can see which values were written and in which order (Wine lists
// values sorted by name, which hides the order).
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct RecordedWrite {
    std::string name;
    DWORD type;
    std::string data; // a wide write as an ANSI reader of the value would see it
};

// Starts recording, clearing earlier records; the writes still reach the registry.
void StartRecordingRegistryWrites();
void StopRecordingRegistryWrites();
std::vector<RecordedWrite>& RecordedWrites();
