// The displays' own ramps kept outside the process while a reduced ramp is
// applied, so that the next start can undo a tint left by a process that was
// ended from outside (Task Manager), which no exit code of its own can do.
//
// HKEY_CURRENT_USER\Software\<maker>\<product>\SavedGamma\<session id> holds
// one REG_BINARY value per display, named by its device name, with the 1536
// bytes of its ramp (red, green, blue, 256 little-endian 16-bit entries each),
// and the value "Owner": the process id and creation time (DWORD, FILETIME)
// of the process that wrote it. One user signed in twice (a second session,
// Remote Desktop) runs one copy in each session, each with displays and a
// record of its own. The version before kept one record right under
// SavedGamma; a start takes that too, so an upgrade undoes its tint as well.
#pragma once
#include "gamma_ramp.h"
#include <string>

// The record's key for this process's session.
std::string GammaRecordKeyPath();
// Writes the record of these displays' own ramps; true when it was written.
bool KeepGammaRecord(const DisplayGamma* displays, int count);
// Removes the record when this process wrote it; another's is left alone.
void RemoveGammaRecord();

// When a process that no longer runs left a record: sets each display's own
// ramp from it, removes the record and returns true. The linear ramp stands
// in where the display's value is missing, damaged or not a display's own:
// the display may still show a reduced ramp, which must not pass for its own.
// Otherwise changes nothing and returns false, also while the record's writer
// still runs, and for a key with no values left in it.
bool TakeAbandonedGammaRecord(DisplayGamma* displays, int count);
