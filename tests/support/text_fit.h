// Whether the texts of a dialog's controls fit them, measured as each control
// lays its text out: in its own font, wrapped where it wraps, beside the box
// of a check box or the button of a combo box.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct ClippedText {
    int controlId;
    std::wstring text;
    SIZE needed; // the text and the control's own parts around it
    SIZE room;   // the control's client area
    bool missingGlyphs;
};

// Every text of the dialog's controls, combo box items included, that its
// control would clip. Where a control's font has no glyphs for a text, the
// text is measured in a font of the fallback character set, the way the
// system's font linking would draw it; with DEFAULT_CHARSET such a text
// counts as clipped itself: it would show as empty boxes.
std::vector<ClippedText> ClippedTexts(HWND dialog, BYTE fallbackCharset);
// One line for a test's failure message, the text in UTF-8.
std::string Describe(const ClippedText& clipped);
// UTF-8 for failure messages.
std::string Utf8(const std::wstring& text);
