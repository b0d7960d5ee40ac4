#include "sevenzip/WideText.h"

#include "platform/Utf8.h"

namespace {

constexpr char32_t BYTE_ESCAPE_BASE = 0xEF00;  // + a byte of 0x80..0xFF that is not UTF-8
constexpr char32_t SURROGATE_FIRST = 0xD800;
constexpr char32_t LOW_SURROGATE_FIRST = 0xDC00;
constexpr char32_t SURROGATE_LAST = 0xDFFF;

bool IsHighSurrogate(char32_t c) { return c >= SURROGATE_FIRST && c < LOW_SURROGATE_FIRST; }
bool IsLowSurrogate(char32_t c) { return c >= LOW_SURROGATE_FIRST && c <= SURROGATE_LAST; }

}  // namespace

std::wstring Utf8ToWide(const std::string& text)
{
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const int length = DecodeUtf8(text, i, c);
        if (length == 0) {
            result.push_back(static_cast<wchar_t>(BYTE_ESCAPE_BASE + static_cast<unsigned char>(text[i])));
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            result.push_back(static_cast<wchar_t>(SURROGATE_FIRST + (c >> 10)));
            result.push_back(static_cast<wchar_t>(LOW_SURROGATE_FIRST + (c & 0x3FF)));
        } else {
            result.push_back(static_cast<wchar_t>(c));
        }
        i += static_cast<size_t>(length);
    }
    return result;
}

std::string WideToUtf8(const wchar_t* text)
{
    std::string result;
    if (!text)
        return result;
    for (; *text; ++text) {
        // Only the low 16 bits are a code unit; a wider wchar_t carries nothing more.
        char32_t c = static_cast<char32_t>(*text) & 0xFFFF;
        if (c >= BYTE_ESCAPE_BASE + 0x80 && c <= BYTE_ESCAPE_BASE + 0xFF) {
            result.push_back(static_cast<char>(c - BYTE_ESCAPE_BASE));
            continue;
        }
        if (IsHighSurrogate(c) && IsLowSurrogate(static_cast<char32_t>(text[1]) & 0xFFFF)) {
            const char32_t low = static_cast<char32_t>(*++text) & 0xFFFF;
            c = 0x10000 + ((c - SURROGATE_FIRST) << 10) + (low - LOW_SURROGATE_FIRST);
        }
        // A lone surrogate keeps its three-byte form, so two names that differ
        // only there stay two names.
        AppendUtf8(result, c);
    }
    return result;
}
