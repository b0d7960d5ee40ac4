#pragma once
// Windows only: the program's UTF-8 text as the wide text that the "W"
// functions of the Windows API take, and back.

#include "platform/Utf16.h"

#include <cwchar>
#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

// Error codes of newer Windows versions that mingw-w64's headers lack.
constexpr int WIN32_ERROR_DIRECTORY_NOT_SUPPORTED = 336;
constexpr int WIN32_ERROR_REPARSE_POINT_ENCOUNTERED = 4395;

inline std::wstring Widen(const std::string& text)
{
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string Narrow(const wchar_t* text, size_t length)
{
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(text), length);
}

inline std::string Narrow(const wchar_t* text)
{
    return text ? Narrow(text, std::wcslen(text)) : std::string();
}
