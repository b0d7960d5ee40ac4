#pragma once
// UTF-8 text of the program to and from the library's wide text (UTF-32 on
// this build). Malformed input becomes U+FFFD rather than failing.

#include <string>

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const wchar_t* text);
