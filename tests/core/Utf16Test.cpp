// UTF-8, the program's text, against UTF-16, the text of the Windows API and
// of the archive library there: every name must survive the way there and
// back, and broken input must become U+FFFD, never a crash or lost text.
#include "platform/Utf16.h"

#include <gtest/gtest.h>

namespace {

struct TRoundTrip {
    const char* Name;
    std::string Utf8;
    std::u16string Utf16;
};
std::ostream& operator<<(std::ostream& out, const TRoundTrip& c) { return out << c.Name; }

class Utf16RoundTrip : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(Utf16RoundTrip, BothWays)
{
    const TRoundTrip& c = GetParam();
    EXPECT_EQ(Utf8ToUtf16(c.Utf8), c.Utf16);
    EXPECT_EQ(Utf16ToUtf8(c.Utf16.data(), c.Utf16.size()), c.Utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf16RoundTrip, ::testing::Values(
    TRoundTrip{"Empty", "", u""},
    TRoundTrip{"Ascii", "a.txt", u"a.txt"},
    TRoundTrip{"TwoByte", "Gr\xC3\xBC\xC3\x9F" "e", u"Gr\u00FC\u00DFe"},
    TRoundTrip{"ThreeByte", "\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
    TRoundTrip{"SurrogatePair", "\xF0\x9F\x98\x80", u"\U0001F600"},
    TRoundTrip{"LastScalar", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    TRoundTrip{"LastBeforeSurrogates", "\xED\x9F\xBF", u"\uD7FF"},
    TRoundTrip{"FirstAfterSurrogates", "\xEE\x80\x80", u"\uE000"},
    TRoundTrip{"EmbeddedNul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    TRoundTrip{"MixedPath", "d\xC3\xA9j\xC3\xA0\\\xF0\x9F\x93\x81\\x.txt", u"d\u00E9j\u00E0\\\U0001F4C1\\x.txt"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TMalformed {
    const char* Name;
    std::string Utf8;
    std::u16string Utf16;  // what it becomes
};
std::ostream& operator<<(std::ostream& out, const TMalformed& c) { return out << c.Name; }

class Utf8Malformed : public ::testing::TestWithParam<TMalformed> {};

TEST_P(Utf8Malformed, BecomesReplacementCharacters)
{
    EXPECT_EQ(Utf8ToUtf16(GetParam().Utf8), GetParam().Utf16);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8Malformed, ::testing::Values(
    TMalformed{"LoneContinuation", "a\x80" "b", u"a\uFFFDb"},
    TMalformed{"CutSequence", "a\xE6\x97", u"a\uFFFD\uFFFD"},
    TMalformed{"Overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
    TMalformed{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
    TMalformed{"BeyondUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    TMalformed{"InvalidLead", "\xFF", u"\uFFFD"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Utf16Malformed, LoneSurrogatesBecomeReplacementCharacters)
{
    const std::pair<std::u16string, std::string> cases[] = {
        {std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},
        {std::u16string(1, char16_t(0xDC00)) + u"x", "\xEF\xBF\xBDx"},
        {u"a" + std::u16string(1, char16_t(0xDBFF)), "a\xEF\xBF\xBD"},
        {std::u16string{char16_t(0xDC00), char16_t(0xD800)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [utf16, utf8] : cases)
        EXPECT_EQ(Utf16ToUtf8(utf16.data(), utf16.size()), utf8) << utf8;
}

}  // namespace
