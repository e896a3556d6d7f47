#include "string_table.h"
#include "code_page.h"

// wsprintfW writes at most 1024 characters and the terminating zero.
static const int FormattedTextSize = 1025;

std::wstring LoadText(UINT id) {
    // With no buffer, LoadStringW hands back where the table's own text is
    // (not zero-terminated) and its length: no copy, no length limit, and
    // the blanks at either end stay.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (!text || length <= 0)
        return std::wstring();
    return std::wstring(text, (size_t)length);
}

std::wstring FormatText(UINT id, int number) {
    wchar_t text[FormattedTextSize];
    wsprintfW(text, LoadText(id).c_str(), number);
    return text;
}

std::wstring FormatText(UINT id, const wchar_t* filledIn) {
    return FormatString(LoadText(id), filledIn);
}

std::wstring FormatString(const std::wstring& format, const wchar_t* filledIn) {
    wchar_t text[FormattedTextSize];
    wsprintfW(text, format.c_str(), filledIn);
    return text;
}

std::string AnsiText(const wchar_t* text) {
    return NarrowCodePage(CP_ACP, text);
}
