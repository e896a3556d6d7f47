// The displays' own ramps kept outside the process while a reduced ramp is
// applied, so that the next start can undo a tint left by a process that was
// ended from outside (Task Manager), which no exit code of its own can do.
//
// HKEY_CURRENT_USER\Software\<maker>\<product>\SavedGamma holds one REG_BINARY
// value per display, named by its device name, with the 1536 bytes of its
// ramp (red, green, blue, 256 little-endian 16-bit entries each), and the
// value "Owner": the process id and creation time (DWORD, FILETIME) of the
// process that wrote it.
#pragma once
#include "gamma_ramp.h"
#include <string>

std::string GammaRecordKeyPath();
// Writes the record of these displays' own ramps; true when it was written.
bool KeepGammaRecord(const DisplayGamma* displays, int count);
void RemoveGammaRecord();

// When a process that no longer runs left a record: sets each display's own
// ramp from it (the linear ramp where the display's value is missing or
// damaged: the display may still show a reduced ramp, which must not pass for
// its own), removes the record and returns true. Otherwise changes nothing
// and returns false, also while the record's writer still runs (a second
// copy of the program starting).
bool TakeAbandonedGammaRecord(DisplayGamma* displays, int count);
