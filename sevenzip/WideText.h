#pragma once
// UTF-8 text of the program to and from the library's wide text: UTF-16
// code units, one per wchar_t whatever the width of wchar_t, so a character
// beyond U+FFFF travels as a surrogate pair.
//
// Names on a Linux disk need not be UTF-8. The library keeps each byte of a
// name that is not UTF-8 as the code unit U+EF00 + byte, and writes that byte
// back when it extracts; both directions here do the same, so such a name
// comes out with the bytes it went in with.

#include <string>

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const wchar_t* text);
