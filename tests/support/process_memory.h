// How much memory a process has committed for itself, for the checks that
// many lock cycles or repaints leave nothing behind.
#pragma once
#include <windows.h>

// Private bytes of the process. Wine leaves PrivateUsage at 0; the commit
// charge (PagefileUsage) is the same figure on Windows and is read there.
SIZE_T PrivateBytes(HANDLE process);
