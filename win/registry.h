// A small cache over one registry key: read every value as text, write four
// types through at once.
#pragma once
#include "owner.h"
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

class CRegistry;

// Every value the layer writes goes through one of these pointers
// (RegSetValueExA, and RegSetValueExW for bytes kept as text), so tests can
// see which values are written and in which order: Wine lists values sorted
// by name, which hides the order.
typedef LONG(WINAPI* SetValueAFunction)(HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                                        const BYTE* data, DWORD size);
typedef LONG(WINAPI* SetValueWFunction)(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                        const BYTE* data, DWORD size);
struct RegistryWriteCalls {
    SetValueAFunction SetRegistryValueA;
    SetValueWFunction SetRegistryValueW;
};
extern RegistryWriteCalls RegistryWrites;

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
    // Like SetText with a byte count, but stored as one character per byte of
    // code page 1252 whatever the system's code page (see ReadByteText).
    void SetByteText(const char* data, DWORD byteCount);
    void SetDword(DWORD number);
    void SetBytes(const BYTE* data, DWORD count);
    void SetMultiString(const BYTE* data, DWORD count);

    // The stored bytes of a REG_SZ value as set or loaded (its terminator not
    // included), which may hold zero bytes; empty for the other types.
    std::string RawText() const;
    // The data of a REG_BINARY value; empty for the other types.
    const std::vector<BYTE>& Bytes() const { return bytes; }

    const char* Name() const { return name.c_str(); }
    DWORD Type() const { return type; }

  private:
    friend class CRegistry;
    void CacheText(const char* data, DWORD byteCount);
    bool CanWrite() const;
    void WriteThrough(const BYTE* data, DWORD count);
    char* TextBuffer();

    std::string name;
    DWORD type;
    CRegistry* owner;
    DWORD number;
    std::vector<char> text; // TextSize bytes once first used
    DWORD textBytes;        // length of the REG_SZ data in text, terminator excluded
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
    // A REG_SZ value read again by its byte count with the wide call, as
    // UTF-16; false when the value is missing or not a REG_SZ.
    bool ReadWideText(const char* name, std::wstring* text) const;
    // A REG_SZ value read again by its byte count with the wide call, each
    // character back to its byte of code page 1252; false when the value is
    // missing or not a REG_SZ.
    bool ReadByteText(const char* name, std::string* data) const;
    void Close();

    OwnedRegistryKey Key;
    DWORD Flags;
    HKEY Root;
    std::string Path;
    std::vector<std::unique_ptr<CRegEntry>> Entries;
};

bool RegistryKeyExists(const char* path, HKEY root);
// KEY_WOW64_64KEY for a 32-bit process on 64-bit Windows, else 0.
REGSAM RegistryViewFlag();
