#include "text_fit.h"
#include <commctrl.h>

namespace {

// How a control lays out its text; chrome is the width its own parts take.
struct Layout {
    bool measured, wraps, prefix, checkHeight, items, cue;
    int chrome;
};

Layout LayoutOf(HWND control) {
    wchar_t name[64] = L"";
    GetClassNameW(control, name, 64);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const int box = GetSystemMetrics(SM_CXMENUCHECK), edge = GetSystemMetrics(SM_CXEDGE);
    if (lstrcmpiW(name, L"Button") == 0) {
        const bool multiline = (style & BS_MULTILINE) != 0;
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX: // the title sits on the frame, in from either corner
            return {true, false, true, false, false, false, 2 * box};
        case BS_AUTOCHECKBOX:
        case BS_CHECKBOX: // the box, the gap to the text, the focus rectangle
            return {true, multiline, true, true, false, false, box + 6};
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: // edges, and the focus rectangle inside them
            return {true, multiline, true, true, false, false, 4 * edge + 2};
        }
    } else if (lstrcmpiW(name, L"Static") == 0) {
        const DWORD type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT)
            return {true, true, (style & SS_NOPREFIX) == 0, true, false, false, 0};
    } else if (lstrcmpiW(name, L"ComboBox") == 0) {
        // The drop-down button, the edges and the item's margins.
        return {true, false, false, false, true, false, GetSystemMetrics(SM_CXVSCROLL) + 4 * edge};
    } else if (lstrcmpiW(name, L"Edit") == 0) {
        // The hint an empty field shows, inside the border and the margins.
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        return {true,
                false,
                false,
                false,
                false,
                true,
                2 * edge + LOWORD(margins) + HIWORD(margins) + 2};
    }
    return {false, false, false, false, false, false, 0};
}

// A combo box's items, an edit's hint, or any other control's own text.
std::vector<std::wstring> TextsOf(HWND control, const Layout& layout) {
    wchar_t text[512] = L"";
    if (layout.cue) {
        SendMessageW(control, EM_GETCUEBANNER, (WPARAM)text, 512);
        return {text};
    }
    if (!layout.items) {
        GetWindowTextW(control, text, 512);
        return {text};
    }
    std::vector<std::wstring> texts;
    for (int i = 0; i < (int)SendMessageW(control, CB_GETCOUNT, 0, 0); i++) {
        SendMessageW(control, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
        texts.push_back(text);
    }
    return texts;
}

bool HasEveryGlyph(HDC dc, const std::wstring& text) {
    std::vector<WORD> glyphs(text.size() + 1);
    GetGlyphIndicesW(dc, text.c_str(), (int)text.size(), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (size_t i = 0; i < text.size(); i++)
        if (glyphs[i] == 0xFFFF && text[i] > L' ' && text[i] != 0xA0)
            return false;
    return true;
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
        HFONT font = (HFONT)SendMessageW(control, WM_GETFONT, 0, 0);
        LOGFONTW description = {};
        GetObjectW(font, sizeof description, &description);
        description.lfCharSet = fallbackCharset;
        description.lfFaceName[0] = L'\0';
        HFONT fallback = CreateFontIndirectW(&description);
        HDC dc = GetDC(control);
        HGDIOBJ previous = SelectObject(dc, font);
        for (const std::wstring& text : TextsOf(control, layout)) {
            SelectObject(dc, font);
            bool missing = !HasEveryGlyph(dc, text);
            if (missing && fallbackCharset != DEFAULT_CHARSET) {
                SelectObject(dc, fallback);
                missing = !HasEveryGlyph(dc, text);
            }
            RECT box = {0, 0, client.right - layout.chrome, 0};
            DrawTextW(dc, text.c_str(), -1, &box,
                      DT_CALCRECT | DT_EXPANDTABS | (layout.wraps ? DT_WORDBREAK : DT_SINGLELINE) |
                          (layout.prefix ? 0 : DT_NOPREFIX));
            const SIZE needed = {box.right + layout.chrome, box.bottom};
            if (missing || needed.cx > client.right ||
                (layout.checkHeight && needed.cy > client.bottom))
                clipped.push_back(
                    {GetDlgCtrlID(control), text, needed, {client.right, client.bottom}, missing});
        }
        SelectObject(dc, previous);
        ReleaseDC(control, dc);
        DeleteObject(fallback);
    }
    return clipped;
}

std::string Utf8(const std::wstring& text) {
    char utf8[1024] = "";
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

std::string Describe(const ClippedText& c) {
    return "control " + std::to_string(c.controlId) + " \"" + Utf8(c.text) + "\" needs " +
           std::to_string(c.needed.cx) + " x " + std::to_string(c.needed.cy) + ", has " +
           std::to_string(c.room.cx) + " x " + std::to_string(c.room.cy) +
           (c.missingGlyphs ? ", glyphs missing" : "");
}
