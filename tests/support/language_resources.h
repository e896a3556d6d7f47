// The per-language blocks of the program's resources, read as a given
// language's user would get them, whatever this process's own language.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct Language {
    const char* name;
    LANGID id;
    // The character set whose fonts hold the language's script: a font of
    // it stands in where a dialog's font has no such glyphs, as the font
    // that language's Windows gives its dialogs would.
    BYTE charset;
};
// English first, then every translation the program ships.
const std::vector<Language>& Languages();

// A string table entry of exactly that language's block, blanks kept; empty
// when the block lacks it.
std::wstring StringIn(HMODULE module, UINT id, LANGID language);
// The resource's bytes in exactly that language; empty when there are none.
std::vector<BYTE> ResourceIn(HMODULE module, LPCWSTR type, int id, LANGID language);
// Creates the dialog from that language's template, hidden whatever its
// template says, with a procedure that does nothing; none without a template.
HWND CreateDialogIn(HMODULE module, int id, LANGID language);
// A menu's items in order, submenus followed: where each is (its depth and
// command id, 0 for separators and submenus) and its text.
struct MenuItemText {
    std::wstring place;
    std::wstring text;
};
std::vector<MenuItemText> MenuItemsIn(HMODULE module, int id, LANGID language);
