// Placeholder until the registry layer lands.
#include "registry.h"

CRegEntry::CRegEntry(CRegistry* entryOwner, const char*)
    : name(nullptr), type(0), owner(entryOwner), number(0), text(nullptr), textBytes(0) {}
CRegEntry::~CRegEntry() {}
const char* CRegEntry::GetText() { return ""; }
void CRegEntry::SetText(const char*) {}
void CRegEntry::SetText(const char*, DWORD) {}
void CRegEntry::SetDword(DWORD) {}
void CRegEntry::SetBytes(const BYTE*, DWORD) {}
void CRegEntry::SetMultiString(const BYTE*, DWORD) {}
std::string CRegEntry::RawText() const { return std::string(); }
void CRegEntry::WriteThrough(const BYTE*, DWORD) {}
char* CRegEntry::TextBuffer() { return nullptr; }

CRegistry::CRegistry(bool createIfMissing)
    : Key(nullptr), Flags(createIfMissing ? CreateIfMissing : 0), Root(nullptr), Path(nullptr) {}
CRegistry::~CRegistry() {}
bool CRegistry::Open(const char*, HKEY, REGSAM, bool) { return false; }
bool CRegistry::Refresh() { return false; }
CRegEntry* CRegistry::Entry(const char*) { return nullptr; }
void CRegistry::Close() {}
bool RegistryKeyExists(const char*, HKEY) { return false; }
REGSAM RegistryViewFlag() { return 0; }
