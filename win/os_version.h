// The one question the program asks about the Windows version.
#pragma once
#include <windows.h>

// True when the system is at least that version and service pack.
bool IsOsVersionAtLeast(WORD major, WORD minor, WORD servicePackMajor);
