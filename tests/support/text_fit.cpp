#include "text_fit.h"
#include <commctrl.h>

namespace {

// How a control lays out its text.
struct Layout {
    bool measured;
    bool wraps;
    bool prefix; // & marks a mnemonic and takes no room
    int chrome;  // width the control's own parts take from the text's room
    bool checkHeight;
};

std::wstring ClassOf(HWND control) {
    wchar_t name[64] = L"";
    GetClassNameW(control, name, 64);
    return name;
}

// A check box's box and the gap to its text, and the focus rectangle
// around the text.
int CheckBoxChrome() {
    return GetSystemMetrics(SM_CXMENUCHECK) + 4 + 2;
}

Layout LayoutOf(HWND control) {
    const std::wstring name = ClassOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(name.c_str(), L"Button") == 0) {
        const bool multiline = (style & BS_MULTILINE) != 0;
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX:
            // The title sits on the frame, indented from either corner.
            return {true, false, true, 2 * GetSystemMetrics(SM_CXMENUCHECK), false};
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return {true, multiline, true, CheckBoxChrome(), true};
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            // Edges, and the focus rectangle inside them.
            return {true, multiline, true, 4 * GetSystemMetrics(SM_CXEDGE) + 2, true};
        }
        return {false, false, false, 0, false};
    }
    if (lstrcmpiW(name.c_str(), L"Static") == 0) {
        const bool prefix = (style & SS_NOPREFIX) == 0;
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            return {true, true, prefix, 0, true};
        case SS_LEFTNOWORDWRAP:
        case SS_SIMPLE:
            return {true, false, prefix, 0, true};
        }
        return {false, false, false, 0, false}; // pictures and frames
    }
    if (lstrcmpiW(name.c_str(), L"ComboBox") == 0)
        // The drop-down button, the edges and the item's margins.
        return {true, false, false,
                GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE), false};
    return {false, false, false, 0, false};
}

std::vector<std::wstring> TextsOf(HWND control) {
    if (lstrcmpiW(ClassOf(control).c_str(), L"ComboBox") == 0) {
        std::vector<std::wstring> items;
        const int count = (int)SendMessageW(control, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            std::wstring item((size_t)SendMessageW(control, CB_GETLBTEXTLEN, (WPARAM)i, 0), L'\0');
            SendMessageW(control, CB_GETLBTEXT, (WPARAM)i, (LPARAM)&item[0]);
            items.push_back(item.c_str());
        }
        return items;
    }
    std::wstring text((size_t)GetWindowTextLengthW(control) + 1, L'\0');
    GetWindowTextW(control, &text[0], (int)text.size());
    return {text.c_str()};
}

bool HasEveryGlyph(HDC dc, const std::wstring& text) {
    if (text.empty())
        return true;
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), (int)text.size(), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (size_t i = 0; i < text.size(); i++)
        if (glyphs[i] == 0xFFFF && text[i] >= L' ' && text[i] != 0xA0)
            return false;
    return true;
}

// The size the text takes in the font, laid out as the control does.
SIZE Measure(HDC dc, const std::wstring& text, const Layout& layout, int width) {
    RECT box = {0, 0, width - layout.chrome, 0};
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    format |= layout.wraps ? DT_WORDBREAK : DT_SINGLELINE;
    if (!layout.prefix)
        format |= DT_NOPREFIX;
    DrawTextW(dc, text.c_str(), -1, &box, format);
    return {box.right - box.left + layout.chrome, box.bottom - box.top};
}

} // namespace

std::vector<ClippedText> ClippedTexts(HWND dialog, BYTE fallbackCharset) {
    std::vector<ClippedText> clipped;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const Layout layout = LayoutOf(control);
        if (!layout.measured)
            continue;
        RECT client;
        GetClientRect(control, &client);
        const SIZE room = {client.right, client.bottom};
        HFONT font = (HFONT)SendMessageW(control, WM_GETFONT, 0, 0);
        LOGFONTW description = {};
        GetObjectW(font, sizeof description, &description);
        description.lfCharSet = fallbackCharset;
        description.lfFaceName[0] = L'\0';
        HFONT fallback = CreateFontIndirectW(&description);
        HDC dc = GetDC(control);
        for (const std::wstring& text : TextsOf(control)) {
            HGDIOBJ previous = SelectObject(dc, font);
            bool missing = !HasEveryGlyph(dc, text);
            if (missing && fallbackCharset != DEFAULT_CHARSET) {
                SelectObject(dc, fallback);
                missing = !HasEveryGlyph(dc, text);
            }
            const SIZE needed = Measure(dc, text, layout, room.cx);
            SelectObject(dc, previous);
            if (missing || needed.cx > room.cx || (layout.checkHeight && needed.cy > room.cy))
                clipped.push_back({GetDlgCtrlID(control), text, needed, room, missing});
        }
        ReleaseDC(control, dc);
        DeleteObject(fallback);
    }
    return clipped;
}

std::string Utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8((size_t)(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], size, nullptr, nullptr);
    return utf8.c_str();
}

std::string Describe(const ClippedText& clipped) {
    return "control " + std::to_string(clipped.controlId) + " \"" + Utf8(clipped.text) +
           "\" needs " + std::to_string(clipped.needed.cx) + " x " +
           std::to_string(clipped.needed.cy) + ", has " + std::to_string(clipped.room.cx) + " x " +
           std::to_string(clipped.room.cy) + (clipped.missingGlyphs ? ", glyphs missing" : "");
}
