// The program's string table, read for the wide calls that show its texts.
// Windows picks the language block of the table from the user's UI language.
#pragma once
#include <windows.h>
#include <string>

// The text of a string table entry, blanks kept; empty when there is none.
std::wstring LoadText(UINT id);
// A string table entry used as a whole-sentence format with one number (%d)
// or one text (%s) filled in. Formatted by wsprintfW: at most 1024 characters.
std::wstring FormatText(UINT id, int number);
std::wstring FormatText(UINT id, const wchar_t* text);
// A format read already, with one text filled in.
std::wstring FormatString(const std::wstring& format, const wchar_t* text);
// The text in the ANSI code page, for the names nobody sees that go through
// the ANSI calls: class names and the titles of hidden windows.
std::string AnsiText(const wchar_t* text);
