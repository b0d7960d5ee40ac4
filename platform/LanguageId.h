#pragma once
// The user's language as a Windows language identifier (the catalogues are
// chosen by it): primary language in the low 10 bits, region above.

#include <cstdint>
#include <string>

constexpr uint16_t LANG_ID_ENGLISH_US = 0x0409;

// From LC_ALL, else LC_MESSAGES, else LANG; 0x0409 when unknown. On Windows
// the system's own GetSystemDefaultLangID.
uint16_t GetSystemDefaultLangID();
#ifdef _WIN32
// Windows only: what the system answers (kept apart from windows.h, which
// declares a function of the same name).
uint16_t WindowsDefaultLangId();
#endif
// "de_CH.UTF-8" -> 0x0807; "C", "POSIX", "" and unknown -> 0x0409.
uint16_t LocaleToLangId(const std::string& locale);
