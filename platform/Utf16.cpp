#include "platform/Utf16.h"

#include "platform/Utf8.h"

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

// The scalar value at `i` and the number of bytes it takes; malformed input
// takes one byte and yields U+FFFD.
char32_t DecodeUtf8(const std::string& text, size_t i, size_t& length)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length != 0 && i + length <= text.size();
    for (size_t k = 1; valid && k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        valid = (next & 0xC0) == 0x80;
        c = (c << 6) | (next & 0x3F);
    }
    static const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (valid && (c < minimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
        valid = false;
    if (!valid) {
        length = 1;
        return REPLACEMENT;
    }
    return c;
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text)
{
    std::u16string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t length = 0;
        const char32_t c = DecodeUtf8(text, i, length);
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
