#include "lang/ProfileReader.h"

#include "platform/TextTrim.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <strings.h>
#include <vector>

namespace {

// A catalogue's bytes as UTF-8 text.
std::string DecodeToUtf8(const std::string& bytes)
{
    std::string text;
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF || static_cast<unsigned char>(bytes[1]) != 0xFE) {
        const bool utf8Bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
        return utf8Bom ? bytes.substr(3) : bytes;
    }
    text.reserve(bytes.size());
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        char32_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                unit = 0xFFFD;
            }
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = 0xFFFD;
        }
        AppendUtf8(text, unit);
    }
    return text;
}

std::string TrimBlanks(const std::string& text)
{
    return TrimText(text, " \t");
}

// Cuts after `limit` characters (UTF-8 sequences kept whole).
std::string LimitCharacters(const std::string& text, size_t limit)
{
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == limit)
            return text.substr(0, i);
    }
    return text;
}

}  // namespace

std::string ReadProfileString(const std::string& fileName, const std::string& section, const std::string& key,
                              const std::string& defaultValue)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return defaultValue;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return FindProfileValue(bytes, section, key, defaultValue);
}

std::string FindProfileValue(const std::string& fileBytes, const std::string& section, const std::string& key,
                             const std::string& defaultValue)
{
    const std::string text = DecodeToUtf8(fileBytes);
    bool inSection = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = TrimBlanks(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const auto close = line.find(']');
            const std::string name = TrimBlanks(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = strcasecmp(name.c_str(), section.c_str()) == 0;
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        if (strcasecmp(TrimBlanks(line.substr(0, equals)).c_str(), key.c_str()) != 0)
            continue;
        std::string value = TrimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return LimitCharacters(value, PROFILE_VALUE_LIMIT);
    }
    return defaultValue;
}
