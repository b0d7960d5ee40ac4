#include "platform/Utf16.h"

#include "platform/Utf8.h"

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text)
{
    std::u16string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t c = 0;
        size_t length = static_cast<size_t>(DecodeUtf8(text, i, c));
        if (length == 0) {
            c = REPLACEMENT;  // one byte of malformed input
            length = 1;
        }
        if (c < 0x10000) {
            result.push_back(static_cast<char16_t>(c));
        } else {
            result.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        i += length;
    }
    return result;
}

std::string Utf16ToUtf8(const char16_t* text, size_t length)
{
    std::string result;
    result.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = REPLACEMENT;
        }
        AppendUtf8(result, c);
    }
    return result;
}
