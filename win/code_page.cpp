#include "code_page.h"

std::wstring WidenCodePage(UINT codePage, const std::string& bytes) {
    const int count = static_cast<int>(bytes.size());
    const int length =
        count ? MultiByteToWideChar(codePage, 0, bytes.data(), count, nullptr, 0) : 0;
    std::wstring text(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), count, &text[0], length);
    return text;
}

// The comparison is the round trip rather than the "default character used"
// flag, which code page 65001 refuses and which misses best-fit mappings
// (U+0100 becomes an A in code page 1252 with no default character used).
std::string NarrowCodePage(UINT codePage, const std::wstring& text) {
    const int count = static_cast<int>(text.size());
    const int length =
        count ? WideCharToMultiByte(codePage, 0, text.data(), count, nullptr, 0, nullptr, nullptr)
              : 0;
    std::string bytes(length > 0 ? length : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, text.data(), count, &bytes[0], length, nullptr, nullptr);
    return bytes;
}

bool NarrowExactly(UINT codePage, const std::wstring& text, std::string* bytes) {
    *bytes = NarrowCodePage(codePage, text);
    return WidenCodePage(codePage, *bytes) == text;
}
