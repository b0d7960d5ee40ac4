#include "lang/FailureText.h"
#include "lang/LangText.h"
#include "support/CatalogueFixture.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <vector>

namespace {

using enum TFailureKind;
using enum TSystemReason;

// The catalogues a failure is shown in: the one the texts were written in,
// one whose words differ, and one without Latin letters.
const char* const ENGLISH = "Lang_English";
const char* const GERMAN = "Lang_Deutsch";
const char* const JAPANESE = "Lang_Japanese";

using FailureTexts = TCatalogueTest;

const std::string EXE = "Downloads/Quartalsbericht 2024.exe";
const std::string OUT = "Ergebnis/";
const std::vector<std::string> NAMES = {"docs/Übersicht.txt", "tabellen/summe.ods"};

// One failure of each kind, with what its message must name.
struct TKindCase {
    TFailure Failure;
    bool ShowsPath;
    bool ShowsNames;
};

TFailure Failure(TFailureKind kind, const std::string& path = std::string(), std::vector<std::string> names = {})
{
    TFailure failure;
    failure.Kind = kind;
    failure.Path = path;
    failure.Names = std::move(names);
    failure.Detail = "English diagnostic text that must never show";
    return failure;
}

std::vector<TKindCase> KindCases()
{
    TFailure noRoom = Failure(fkNoRoomForWork, "/var/tmp/");
    noRoom.Bytes = 10 * 1024 * 1024 + 1;  // shown rounded up
    return {
        {Failure(fkCannotReadExecutable, EXE), true, false},
        {Failure(fkNotProtectedExecutable, EXE), true, false},
        {Failure(fkArchiveUnreadable, EXE), true, false},
        {Failure(fkWrongPassword), false, false},
        {Failure(fkDamagedItems, std::string(), NAMES), false, true},
        {Failure(fkUnsafeItems, std::string(), {"../../etc/profile"}), false, true},
        {noRoom, true, false},
        {Failure(fkWorkFolderFailed, "/tmp/tq_AB12.tmp/tmp.dat"), true, false},
        {Failure(fkCannotWriteOutput, OUT + "docs/Übersicht.txt"), true, false},
        {Failure(fkOutputFolderNotCreated, OUT), true, false},
        {Failure(fkFileNotPlaced, OUT, NAMES), true, true},
        {Failure(fkLibraryNotLoaded, "/tmp/tq_AB12.tmp/7z.dll"), true, false},
        {Failure(fkUnexpected), false, false},
    };
}

// `text` without the values a failure fills in, which stand as they are in
// every language.
std::string WithoutValues(std::string text, const TFailure& failure)
{
    std::vector<std::string> values = failure.Names;
    values.push_back(failure.Path);
    for (const std::string& value : values) {
        for (size_t found; !value.empty() && (found = text.find(value)) != std::string::npos;)
            text.erase(found, value.size());
    }
    return text;
}

// The words of four letters or more, as written.
std::set<std::string> WordsOf(const std::string& text)
{
    static const std::regex word("[A-Za-z]{4,}");
    std::set<std::string> words;
    for (std::sregex_iterator it(text.begin(), text.end(), word), end; it != end; ++it)
        words.insert(it->str());
    return words;
}

TEST_F(FailureTexts, TheTableHoldsEveryKind)
{
    std::set<int> kinds;
    for (const TKindCase& c : KindCases())
        kinds.insert(static_cast<int>(c.Failure.Kind));
    for (int kind = static_cast<int>(fkNone) + 1; kind <= static_cast<int>(fkUnexpected); ++kind)
        EXPECT_TRUE(kinds.count(kind)) << "no case for kind " << kind;
}

TEST_F(FailureTexts, EveryKindInEveryLanguageNamesWhatItConcerns)
{
    std::map<std::string, std::vector<std::string>> texts;  // by catalogue, in the order of the cases
    for (const char* catalogue : {ENGLISH, GERMAN, JAPANESE}) {
        UseCatalogue(catalogue);
        std::set<std::string> distinct;
        for (const TKindCase& c : KindCases()) {
            const int kind = static_cast<int>(c.Failure.Kind);
            const std::string text = FailureText(c.Failure);
            texts[catalogue].push_back(text);
            EXPECT_FALSE(text.empty()) << catalogue << " kind " << kind;
            EXPECT_EQ(text.find("???"), std::string::npos) << catalogue << " kind " << kind << ": " << text;
            EXPECT_EQ(text.find("{"), std::string::npos) << catalogue << " kind " << kind << ": " << text;
            EXPECT_EQ(text.find("English diagnostic"), std::string::npos) << catalogue << " kind " << kind;
            EXPECT_TRUE(distinct.insert(text).second) << catalogue << " kind " << kind << " says what another says";
            if (c.ShowsPath) {
                EXPECT_NE(text.find(c.Failure.Path), std::string::npos) << catalogue << " kind " << kind << ": " << text;
            }
            if (c.ShowsNames) {
                for (const std::string& name : c.Failure.Names)
                    EXPECT_NE(text.find(name), std::string::npos) << catalogue << " kind " << kind << ": " << text;
            }
            if (c.Failure.Kind == fkNoRoomForWork) {
                EXPECT_NE(text.find("11"), std::string::npos) << catalogue << ": " << text;
            }
        }
    }

    const std::vector<TKindCase> cases = KindCases();
    for (size_t i = 0; i < cases.size(); ++i) {
        const int kind = static_cast<int>(cases[i].Failure.Kind);
        const std::string english = WithoutValues(texts[ENGLISH][i], cases[i].Failure);
        const std::string german = WithoutValues(texts[GERMAN][i], cases[i].Failure);
        const std::string japanese = WithoutValues(texts[JAPANESE][i], cases[i].Failure);
        for (const std::string& word : WordsOf(english)) {
            EXPECT_EQ(WordsOf(german).count(word), 0u) << "kind " << kind << ": \"" << word << "\" in " << german;
        }
        EXPECT_TRUE(WordsOf(japanese).empty()) << "kind " << kind << ": " << japanese;
    }
}

TEST_F(FailureTexts, NoFailureHasNoText)
{
    UseCatalogue(ENGLISH);
    EXPECT_EQ(FailureText(TFailure{}), "");
}

TEST_F(FailureTexts, EveryReasonIsAddedInTheUsersLanguage)
{
    std::map<std::string, std::vector<std::string>> reasons;  // by catalogue, srNoSpace onwards
    for (const char* catalogue : {ENGLISH, GERMAN, JAPANESE}) {
        UseCatalogue(catalogue);
        TFailure plain = Failure(fkCannotWriteOutput, OUT + "a.txt");
        const std::string withoutReason = FailureText(plain);
        EXPECT_EQ(SystemReasonText(srNone, 0), "") << catalogue;
        std::set<std::string> distinct;
        for (int value = static_cast<int>(srNoSpace); value <= static_cast<int>(srOther); ++value) {
            TFailure failure = plain;
            failure.Reason = static_cast<TSystemReason>(value);
            failure.SystemCode = 1234;
            const std::string reason = SystemReasonText(failure.Reason, failure.SystemCode);
            const std::string text = FailureText(failure);
            reasons[catalogue].push_back(reason);
            EXPECT_FALSE(reason.empty()) << catalogue << " reason " << value;
            EXPECT_EQ(reason.find("???"), std::string::npos) << catalogue << " reason " << value;
            EXPECT_TRUE(distinct.insert(reason).second) << catalogue << " reason " << value << " repeats another";
            EXPECT_EQ(text, withoutReason + "\n" + reason) << catalogue << " reason " << value;
            // Only the catch-all reason has no words for the code and names it.
            EXPECT_EQ(text.find("1234") != std::string::npos, failure.Reason == srOther) << catalogue << ": " << text;
        }
    }
    for (size_t i = 0; i < reasons[ENGLISH].size(); ++i) {
        for (const std::string& word : WordsOf(reasons[ENGLISH][i]))
            EXPECT_EQ(WordsOf(reasons[GERMAN][i]).count(word), 0u) << "\"" << word << "\" in " << reasons[GERMAN][i];
        EXPECT_TRUE(WordsOf(reasons[JAPANESE][i]).empty()) << reasons[JAPANESE][i];
    }
}

TEST_F(FailureTexts, LongNameListsCountTheRest)
{
    UseCatalogue(ENGLISH);
    struct TCase {
        size_t Count;
        const char* Rest;  // how the count of the names left out is shown; empty when none are
    };
    const TCase cases[] = {{1, ""}, {LISTED_NAMES, ""}, {LISTED_NAMES + 1, "1 more"}, {LISTED_NAMES + 250, "250 more"}};
    for (const TCase& c : cases) {
        std::vector<std::string> names;
        for (size_t i = 0; i < c.Count; ++i)
            names.push_back("file" + std::to_string(i) + ".txt");
        const std::string text = NameListText(names);
        for (size_t i = 0; i < c.Count; ++i) {
            const bool listed = text.find("\"" + names[i] + "\"") != std::string::npos;
            EXPECT_EQ(listed, i < LISTED_NAMES) << c.Count << " names, name " << i << ": " << text;
        }
        if (*c.Rest)
            EXPECT_NE(text.find(c.Rest), std::string::npos) << text;
        else
            EXPECT_EQ(text.find("more"), std::string::npos) << text;
    }
}

TEST_F(FailureTexts, SpaceIsShownInWholeMegabytesRoundedUp)
{
    UseCatalogue(ENGLISH);
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0 MB"}, {1, "1 MB"}, {1048576, "1 MB"}, {1048577, "2 MB"}, {5LL * 1024 * 1024 * 1024, "5120 MB"}};
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(SpaceText(bytes), text) << bytes;
}

// A value is put in as it stands: a path that holds a placeholder of its own
// is not filled a second time.
TEST_F(FailureTexts, PathsWithBracesStayWhole)
{
    UseCatalogue(ENGLISH);
    TFailure failure = Failure(fkFileNotPlaced, "Ablage/{1}/", {"{0}.txt"});
    const std::string text = FailureText(failure);
    EXPECT_NE(text.find("\"Ablage/{1}/\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"{0}.txt\""), std::string::npos) << text;
}

// Without a catalogue every part of the message is "???", as every caption
// is: the message is never empty.
TEST_F(FailureTexts, WithoutACatalogueEachPartIsMissing)
{
    g_sLangFile = Scratch / "deleted.txt";
    for (const TKindCase& c : KindCases())
        EXPECT_NE(FailureText(c.Failure).find("???"), std::string::npos) << static_cast<int>(c.Failure.Kind);
}

}  // namespace
