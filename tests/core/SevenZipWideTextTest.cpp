// Text crossing to and from the library: UTF-8 on our side, UTF-16 code
// units (one per wchar_t) on the library's. A byte that is not UTF-8 travels
// as U+EF00 + byte, as the library itself keeps such names, so it comes back
// as the same byte.
#include "sevenzip/WideText.h"

#include <gtest/gtest.h>

namespace {

struct TWideCase {
    const char* Name;
    std::string Utf8;
    std::wstring Wide;
};
std::ostream& operator<<(std::ostream& out, const TWideCase& c) { return out << c.Name; }

class WideTextCases : public ::testing::TestWithParam<TWideCase> {};

TEST_P(WideTextCases, ConvertsBothWays)
{
    EXPECT_EQ(Utf8ToWide(GetParam().Utf8), GetParam().Wide);
    EXPECT_EQ(WideToUtf8(GetParam().Wide.c_str()), GetParam().Utf8);
}

INSTANTIATE_TEST_SUITE_P(WideText, WideTextCases, ::testing::Values(
    TWideCase{"Empty", "", L""},
    TWideCase{"Ascii", "a/b.txt", L"a/b.txt"},
    TWideCase{"Latin1", "Gr\xC3\xBC\xC3\x9F" "e", L"Gr\u00FC\u00DFe"},
    TWideCase{"Cjk", "\xE6\x97\xA5\xE6\x9C\xAC", L"\u65E5\u672C"},
    TWideCase{"AstralAsSurrogatePair", "\xF0\x9F\x98\x80.txt", {0xD83D, 0xDE00, L'.', L't', L'x', L't'}},
    TWideCase{"TwoAstralNamesStayApart", "\xF0\x9F\x98\x81", {0xD83D, 0xDE01}},
    TWideCase{"StrayContinuation", "a\x80z", {L'a', 0xEF80, L'z'}},
    TWideCase{"InvalidLeadBytes", "\xFF\xFE", {0xEFFF, 0xEFFE}},
    TWideCase{"CutAtTheEnd", "ab\xE6\x97", {L'a', L'b', 0xEFE6, 0xEF97}},
    TWideCase{"CutBeforeAnAsciiByte", "\xC3z", {0xEFC3, L'z'}},
    TWideCase{"Overlong", "\xC0\xAF", {0xEFC0, 0xEFAF}},
    TWideCase{"BeyondUnicode", "\xF4\x90\x80\x80", {0xEFF4, 0xEF90, 0xEF80, 0xEF80}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(WideText, SurrogatesWrittenInUtf8AreBytesNotCharacters)
{
    // The library keeps a name with these bytes as three escaped bytes.
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), (std::wstring{0xEFED, 0xEFA0, 0xEF80}));
}

TEST(WideText, LoneSurrogatesFromTheLibraryKeepTheirValue)
{
    const wchar_t high[] = {L'a', static_cast<wchar_t>(0xD83D), L'z', 0};
    const wchar_t low[] = {L'a', static_cast<wchar_t>(0xDE00), L'z', 0};
    const wchar_t swapped[] = {static_cast<wchar_t>(0xDE00), static_cast<wchar_t>(0xD83D), 0};
    EXPECT_EQ(WideToUtf8(high), "a\xED\xA0\xBDz");
    EXPECT_EQ(WideToUtf8(low), "a\xED\xB8\x80z");
    EXPECT_EQ(WideToUtf8(swapped), "\xED\xB8\x80\xED\xA0\xBD");
    EXPECT_EQ(WideToUtf8(nullptr), "");
}

}  // namespace
