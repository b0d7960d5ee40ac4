#pragma once
// UTF-8, the program's text, to and from UTF-16, the text of the Windows
// API. Malformed input (a broken UTF-8 sequence, a lone surrogate) becomes
// U+FFFD rather than failing.

#include <string>

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const char16_t* text, size_t length);
