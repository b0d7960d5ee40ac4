#pragma once
#include <string>

// Appends the UTF-8 form of one Unicode scalar value.
void AppendUtf8(std::string& text, char32_t c);
