// Text converted between UTF-16 and a code page with the system's tables.
#pragma once
#include <windows.h>
#include <string>

std::wstring WidenCodePage(UINT codePage, const std::string& bytes);
// The text's bytes in the code page; a character it lacks is approximated.
std::string NarrowCodePage(UINT codePage, const std::wstring& text);
// The bytes of the text in the code page; false when they do not give the
// same text back (a character the code page lacks, or one only approximated).
bool NarrowExactly(UINT codePage, const std::wstring& text, std::string* bytes);
