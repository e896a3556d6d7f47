// A small cache over one registry key: read every value as text, write four
// types through at once.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class CRegistry;

class CRegEntry {
  public:
    // Size of the buffer every value is read into as text.
    static const DWORD TextSize = 2048;

    CRegEntry(CRegistry* owner, const char* name);
    virtual ~CRegEntry();
    CRegEntry(const CRegEntry&) = delete;
    CRegEntry& operator=(const CRegEntry&) = delete;

    // The value as zero-terminated text, formatted into the entry's own buffer.
    const char* GetText();
    void SetText(const char* text);
    // Writes the text with an explicit byte count, so bytes after a zero survive.
    void SetText(const char* data, DWORD byteCount);
    void SetDword(DWORD number);
    void SetBytes(const BYTE* data, DWORD count);
    void SetMultiString(const BYTE* data, DWORD count);

    // The stored bytes of a REG_SZ value as set or loaded (its terminator not
    // included), which may hold zero bytes; empty for the other types.
    std::string RawText() const;

    const char* Name() const { return name; }
    DWORD Type() const { return type; }

  private:
    friend class CRegistry;
    void WriteThrough(const BYTE* data, DWORD count);
    char* TextBuffer();

    char* name;
    DWORD type;
    CRegistry* owner;
    DWORD number;
    char* text;
    DWORD textBytes; // length of the REG_SZ data in text, terminator excluded
    std::vector<BYTE> bytes;
    std::vector<std::string> strings;
};

class CRegistry {
  public:
    static const DWORD CreateIfMissing = 1;
    static const DWORD Loading = 8;

    explicit CRegistry(bool createIfMissing);
    virtual ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // quick: only open the key; otherwise remember the path and load every value.
    bool Open(const char* path, HKEY root, REGSAM access, bool quick);
    bool Refresh();
    // The entry of that value name (any case), created empty when missing.
    CRegEntry* Entry(const char* name);
    void Close();

    HKEY Key;
    DWORD Flags;
    HKEY Root;
    char* Path;
    std::vector<CRegEntry*> Entries;
};

bool RegistryKeyExists(const char* path, HKEY root);
// KEY_WOW64_64KEY for a 32-bit process on 64-bit Windows, else 0.
REGSAM RegistryViewFlag();
