#include "platform/TextTrim.h"

std::string TrimText(const std::string& text, const char* blanks)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}
