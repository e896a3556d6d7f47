// Where the program keeps what it stores, under HKEY_CURRENT_USER.
#pragma once
#include <string>

// "Software\<maker>\<product>\" followed by part, e.g. "Settings\" or
// "SavedGamma". The names come from the version record's header, as the
// installer's do, so every key of the program lies under the one the
// uninstaller removes.
std::string ProductKeyPath(const char* part);
