#include "sevenzip/WideText.h"

#include "platform/Utf16.h"
#include "platform/Utf8.h"

#include <cwchar>

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

bool IsScalar(char32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

}  // namespace

std::wstring Utf8ToWide(const std::string& text)
{
#ifdef _WIN32
    // Wide text is UTF-16 there, as the Windows API's.
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
#else
    static_assert(sizeof(wchar_t) == 4, "the library's wide text is UTF-32 on this build");
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length != 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms and non-scalar values are malformed too.
        static const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < minimum[length] || !IsScalar(c)))
            valid = false;
        result.push_back(static_cast<wchar_t>(valid ? c : REPLACEMENT));
        i += valid ? length : 1;
    }
    return result;
#endif
}

std::string WideToUtf8(const wchar_t* text)
{
    std::string result;
    if (!text)
        return result;
#ifdef _WIN32
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(text), std::wcslen(text));
#endif
    for (; *text; ++text) {
        char32_t c = static_cast<char32_t>(*text);
        if (!IsScalar(c))
            c = REPLACEMENT;
        AppendUtf8(result, c);
    }
    return result;
}
