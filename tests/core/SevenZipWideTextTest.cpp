// Text crossing to and from the library: UTF-8 on our side, UTF-32 wchar_t on
// the library's. Malformed input on either side becomes U+FFFD, never a crash.
#include "sevenzip/WideText.h"

#include <gtest/gtest.h>

namespace {

struct TWideCase {
    const char* Name;
    std::string Utf8;
    std::wstring Wide;
};
std::ostream& operator<<(std::ostream& out, const TWideCase& c) { return out << c.Name; }

class Utf8ToWideCases : public ::testing::TestWithParam<TWideCase> {};

TEST_P(Utf8ToWideCases, Converts)
{
    EXPECT_EQ(Utf8ToWide(GetParam().Utf8), GetParam().Wide);
}

INSTANTIATE_TEST_SUITE_P(WideText, Utf8ToWideCases, ::testing::Values(
    TWideCase{"Empty", "", L""},
    TWideCase{"Ascii", "a/b.txt", L"a/b.txt"},
    TWideCase{"TwoThreeAndFourBytes", "\xC3\xA4\xE6\x97\xA5\xF0\x9F\x98\x80", L"\u00E4\u65E5\U0001F600"},
    TWideCase{"StrayContinuation", "a\x80z", L"a\uFFFDz"},
    TWideCase{"InvalidLeadBytes", "\xFF\xFE", L"\uFFFD\uFFFD"},
    TWideCase{"CutAtTheEnd", "ab\xE6\x97", L"ab\uFFFD\uFFFD"},
    TWideCase{"CutBeforeAnAsciiByte", "\xC3z", L"\uFFFDz"},
    TWideCase{"Overlong", "\xC0\xAF", L"\uFFFD\uFFFD"},
    TWideCase{"EncodedSurrogate", "\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},
    TWideCase{"BeyondUnicode", "\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(WideText, LibraryTextToUtf8)
{
    EXPECT_EQ(WideToUtf8(nullptr), "");
    EXPECT_EQ(WideToUtf8(L"Gr\u00FC\u00DFe/\u65E5\u672C/\U0001F600"), "Grüße/日本/😀");
#ifndef _WIN32
    // 4-byte wide text only: Windows' wide text cannot hold 0x110000.
    const wchar_t notScalar[] = {L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), L'z', 0};
    EXPECT_EQ(WideToUtf8(notScalar), "a\xEF\xBF\xBD\xEF\xBF\xBDz");
#endif
    const std::string roundTrip = "Ünïcödé ファイル 😀.txt";
    EXPECT_EQ(WideToUtf8(Utf8ToWide(roundTrip).c_str()), roundTrip);
}

}  // namespace
