// The registry cache: one CRegistry per open key, one CRegEntry per value.
#include "registry.h"
#include "code_page.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mbstring.h>

static LONG WINAPI CallRegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                                      const BYTE* data, DWORD size) {
    return RegSetValueExA(key, name, reserved, type, data, size);
}
static LONG WINAPI CallRegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                      const BYTE* data, DWORD size) {
    return RegSetValueExW(key, name, reserved, type, data, size);
}
// Constant initialisation: valid before any constructor runs.
RegistryWriteCalls RegistryWrites = {CallRegSetValueExA, CallRegSetValueExW};

static bool SameName(const char* left, const char* right);

// Bytes kept as REG_SZ text (the scrambled unlock word) go through code page
// 1252 by hand. The ANSI calls convert with the system's code page, and on
// double-byte and UTF-8 code pages most bytes of 0x80 and above do not come
// back. Code page 1252 gives every byte its own UTF-16 unit and back (its five
// unassigned bytes, 0x81, 0x8D, 0x8F, 0x90 and 0x9D, become U+0081 and the
// like), and it is what the ANSI calls used on Western systems, so a value
// written there through them reads back the same.
static const UINT ByteTextCodePage = 1252;

// Value names and key paths are case-insensitive, and they are texts of the
// system code page, so a double-byte character must not be split by the
// comparison.
static bool SameName(const char* left, const char* right) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(left),
                    reinterpret_cast<const unsigned char*>(right)) == 0;
}

REGSAM RegistryViewFlag() {
    // A 32-bit copy on 64-bit Windows would otherwise be redirected to the
    // WOW6432Node view of HKLM and miss what 64-bit programs wrote there.
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
        return KEY_WOW64_64KEY;
    return 0;
}

CRegEntry::CRegEntry(CRegistry* entryOwner, const char* entryName)
    : name(entryName ? entryName : ""), type(0), owner(entryOwner), number(0), textBytes(0) {}

CRegEntry::~CRegEntry() = default;

char* CRegEntry::TextBuffer() {
    if (text.empty())
        text.assign(TextSize, 0);
    return text.data();
}

bool CRegEntry::CanWrite() const {
    return !(owner->Flags & CRegistry::Loading) && owner->Key;
}

void CRegEntry::WriteThrough(const BYTE* data, DWORD count) {
    if (CanWrite())
        RegistryWrites.SetRegistryValueA(owner->Key, name.c_str(), 0, type, data, count);
}

const char* CRegEntry::GetText() {
    char* buffer = TextBuffer();
    switch (type) {
    case REG_DWORD:
        wsprintfA(buffer, "%lu", number); // at most 10 digits
        break;
    case REG_BINARY: {
        size_t count = std::min<size_t>(bytes.size(), TextSize - 1);
        if (count)
            memcpy(buffer, bytes.data(), count);
        buffer[count] = 0;
        break;
    }
    case REG_MULTI_SZ: {
        // Each string with its terminator, then one more zero; the last byte
        // of the buffer is kept for that final zero.
        size_t position = 0;
        for (const std::string& item : strings) {
            if (position + 1 >= TextSize)
                break;
            size_t count = std::min<size_t>(item.size(), TextSize - 2 - position);
            memcpy(buffer + position, item.data(), count);
            position += count;
            buffer[position++] = 0;
        }
        buffer[std::min<size_t>(position, TextSize - 1)] = 0;
        break;
    }
    default:
        break;
    }
    return buffer;
}

void CRegEntry::SetText(const char* value) {
    SetText(value, static_cast<DWORD>(strlen(value)));
}

void CRegEntry::CacheText(const char* data, DWORD byteCount) {
    type = REG_SZ;
    char* buffer = TextBuffer();
    textBytes = std::min<DWORD>(byteCount, TextSize - 1);
    if (textBytes)
        memcpy(buffer, data, textBytes);
    buffer[textBytes] = 0;
}

void CRegEntry::SetText(const char* data, DWORD byteCount) {
    CacheText(data, byteCount);
    // The registry gets every byte plus a terminator, so a reader that stops
    // at the first zero and one that goes by the byte count both find the text.
    std::string stored(data, byteCount);
    WriteThrough(reinterpret_cast<const BYTE*>(stored.c_str()), byteCount + 1);
}

void CRegEntry::SetByteText(const char* data, DWORD byteCount) {
    CacheText(data, byteCount);
    if (!CanWrite())
        return;
    // Every byte plus a terminator, as SetText writes it.
    std::wstring wide = WidenCodePage(ByteTextCodePage, std::string(data, byteCount)) + L'\0';
    // Value names are texts of the system code page, as everywhere else.
    RegistryWrites.SetRegistryValueW(owner->Key, WidenCodePage(CP_ACP, name).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(wide.c_str()),
                                     static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
}

void CRegEntry::SetDword(DWORD value) {
    type = REG_DWORD;
    number = value;
    WriteThrough(reinterpret_cast<const BYTE*>(&number), sizeof number);
}

void CRegEntry::SetBytes(const BYTE* data, DWORD count) {
    if (count == 0)
        return;
    type = REG_BINARY;
    bytes.assign(data, data + count);
    WriteThrough(data, count);
}

void CRegEntry::SetMultiString(const BYTE* data, DWORD count) {
    type = REG_MULTI_SZ;
    strings.clear();
    DWORD end = count;
    if (end > 2 && data[end - 1] == 0)
        end--;
    DWORD start = 0;
    while (start < end) {
        const BYTE* zero = static_cast<const BYTE*>(memchr(data + start, 0, end - start));
        if (!zero)
            break; // a last string without terminator inside the count is dropped
        DWORD stop = static_cast<DWORD>(zero - data);
        strings.emplace_back(reinterpret_cast<const char*>(data + start), stop - start);
        start = stop + 1;
    }
    WriteThrough(data, count);
}

std::string CRegEntry::RawText() const {
    if (type != REG_SZ || text.empty())
        return std::string();
    return std::string(text.data(), textBytes);
}

CRegistry::CRegistry(bool createIfMissing)
    : Flags(createIfMissing ? CreateIfMissing : 0), Root(nullptr) {}

CRegistry::~CRegistry() = default;

bool CRegistry::Open(const char* path, HKEY root, REGSAM access, bool quick) {
    if (!quick) {
        if (!Path.empty() && !SameName(Path.c_str(), path))
            Entries.clear();
        Path = path;
        Root = root;
    }
    Close();

    access |= RegistryViewFlag();
    if (Flags & CreateIfMissing)
        access |= KEY_CREATE_SUB_KEY;
    HKEY opened = nullptr;
    LONG result;
    if (Flags & CreateIfMissing)
        result = RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                 &opened, nullptr);
    else
        result = RegOpenKeyExA(root, path, 0, access, &opened);
    if (result != ERROR_SUCCESS)
        return false;
    Key.Reset(opened);
    return quick ? true : Refresh();
}

bool CRegistry::Refresh() {
    if (!Key)
        return false;
    DWORD valueCount = 0;
    if (RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;

    // The setters below only fill the cache while this flag is up, so loading
    // a key never writes to it.
    Flags |= Loading;
    Entries.reserve(Entries.size() + valueCount);
    for (DWORD index = 0; index < valueCount; index++) {
        char valueName[260];
        BYTE data[CRegEntry::TextSize];
        DWORD nameLength = sizeof valueName;
        DWORD dataSize = sizeof data;
        DWORD valueType = 0;
        // Names of 260 characters or more and data over the buffer fail here
        // with ERROR_MORE_DATA; such values are left out.
        if (RegEnumValueA(Key, index, valueName, &nameLength, nullptr, &valueType, data,
                          &dataSize) != ERROR_SUCCESS)
            continue;
        dataSize = std::min<DWORD>(dataSize, sizeof data);
        switch (valueType) {
        case REG_SZ: {
            // The data need not end in a zero; one that does has its
            // terminator dropped, and nothing beyond dataSize is read.
            DWORD length = dataSize;
            if (length > 0 && data[length - 1] == 0)
                length--;
            Entry(valueName)->SetText(reinterpret_cast<const char*>(data), length);
            break;
        }
        case REG_BINARY:
            Entry(valueName)->SetBytes(data, dataSize);
            break;
        case REG_DWORD: {
            DWORD number = 0;
            memcpy(&number, data, std::min<DWORD>(dataSize, sizeof number));
            Entry(valueName)->SetDword(number);
            break;
        }
        case REG_MULTI_SZ:
            Entry(valueName)->SetMultiString(data, dataSize);
            break;
        default:
            break;
        }
    }
    Flags &= ~Loading;
    return true;
}

CRegEntry* CRegistry::Entry(const char* name) {
    if (!name)
        name = "";
    for (auto it = Entries.rbegin(); it != Entries.rend(); ++it)
        if (SameName((*it)->Name(), name))
            return it->get();
    Entries.push_back(std::make_unique<CRegEntry>(this, name));
    return Entries.back().get();
}

bool CRegistry::ReadWideText(const char* name, std::wstring* text) const {
    if (!Key)
        return false;
    std::wstring wideName = WidenCodePage(CP_ACP, name);
    wchar_t buffer[CRegEntry::TextSize];
    DWORD size = sizeof buffer;
    DWORD valueType = 0;
    if (RegQueryValueExW(Key, wideName.c_str(), nullptr, &valueType,
                         reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        valueType != REG_SZ)
        return false;
    // By the byte count, as Refresh reads text: zero characters inside are
    // kept, one terminator at the end is dropped.
    size_t length = std::min<size_t>(size, sizeof buffer) / sizeof(wchar_t);
    if (length > 0 && buffer[length - 1] == 0)
        length--;
    text->assign(buffer, length);
    return true;
}

bool CRegistry::ReadByteText(const char* name, std::string* data) const {
    std::wstring text;
    if (!ReadWideText(name, &text))
        return false;
    NarrowExactly(ByteTextCodePage, text, data);
    return true;
}

void CRegistry::Close() {
    Key.Reset(nullptr);
}

bool RegistryKeyExists(const char* path, HKEY root) {
    CRegistry registry(false);
    return registry.Open(path, root, KEY_QUERY_VALUE, true);
}
