#pragma once
#include <string>

// Appends the UTF-8 form of one Unicode scalar value.
void AppendUtf8(std::string& text, char32_t c);

// The length of the well-formed UTF-8 sequence at text[i] and, through `c`,
// its value; 0 when the bytes there are not one (overlong forms, surrogates
// and values beyond U+10FFFF included).
int DecodeUtf8(const std::string& text, size_t i, char32_t& c);
