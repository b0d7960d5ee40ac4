#pragma once
#include <string>

// `text` without the characters of `blanks` at both ends.
std::string TrimText(const std::string& text, const char* blanks);
