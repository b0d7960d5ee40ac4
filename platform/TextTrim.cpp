#include "platform/TextTrim.h"
#include "platform/SystemText.h"

std::string TrimText(const std::string& text, const char* blanks)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string TrimTrailingBlanksAndStops(std::string text)
{
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        if (last >= 33 && last != '.')
            break;
        text.pop_back();
    }
    return text;
}
