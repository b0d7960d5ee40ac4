// Each kind of failure, produced by a real case, reaches the front ends as
// that kind, and the text made of it is the user's language throughout.
#include "extract/WorkFolder.h"
#include "lang/FailureText.h"
#include "support/CatalogueFixture.h"
#include "support/TmpfsMount.h"
#include "support/WorkerFixture.h"

#include <cctype>
#include <set>

namespace {

struct TKindRow {
    const char* Name;
    std::function<void(class FailureKinds&)> Arrange;
    TFailureKind Kind;
    TSystemReason Reason;
};
std::ostream& operator<<(std::ostream& out, const TKindRow& row) { return out << row.Name; }

class FailureKinds : public WorkerRun, public ::testing::WithParamInterface<TKindRow> {
public:
    using WorkerRun::Build;
    using WorkerRun::Out;
    using WorkerRun::Scratch;
    using WorkerRun::Settings;

    void Mount(const std::string& options)
    {
        FMount = std::make_unique<TTmpfsMount>(Settings.OutputDir, options);
        Mounted = FMount->Mounted();
    }
    bool Mounted = true;

private:
    std::unique_ptr<TTmpfsMount> FMount;
};

// Words of four letters or more, with the failure's own paths and names taken out.
std::set<std::string> WordsOf(std::string text, const TFailure& failure)
{
    std::vector<std::string> values = failure.Names;
    values.push_back(failure.Path);
    for (const std::string& value : values) {
        for (size_t at; !value.empty() && (at = text.find(value)) != std::string::npos;)
            text.erase(at, value.size());
    }
    std::set<std::string> words;
    std::string word;
    for (const char c : text + " ") {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            continue;
        }
        if (word.size() >= 4)
            words.insert(word);
        word.clear();
    }
    return words;
}

TEST_P(FailureKinds, ComeAsTheirKindAndInTheUsersLanguage)
{
    GetParam().Arrange(*this);
    if (!Mounted)
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    ASSERT_EQ(Run(), FAILED) << Error;
    TScratchFolder catalogues;
    const std::string english = [&] {
        g_sLangFile = catalogues / "en.txt";
        SaveResourceToFile("Lang_English", "FILE", g_sLangFile);
        return FailureText(LastFailure);
    }();
    const std::string german = [&] {
        g_sLangFile = catalogues / "de.txt";
        SaveResourceToFile("Lang_Deutsch", "FILE", g_sLangFile);
        return FailureText(LastFailure);
    }();
    g_sLangFile.clear();
    EXPECT_EQ(LastFailure.Kind, GetParam().Kind) << Error;
    if (GetParam().Reason != TSystemReason::srNone) {
        EXPECT_EQ(LastFailure.Reason, GetParam().Reason) << Error;
    }
    EXPECT_FALSE(english.empty());
    EXPECT_NE(english, german);
    for (const std::string& text : {english, german})
        EXPECT_EQ(text.find("???"), std::string::npos) << text;
    const std::set<std::string> germanWords = WordsOf(german, LastFailure);
    for (const std::string& word : WordsOf(english, LastFailure))
        EXPECT_EQ(germanWords.count(word), 0u) << "\"" << word << "\" in: " << german;
}

INSTANTIATE_TEST_SUITE_P(RealCases, FailureKinds, ::testing::Values(
    TKindRow{"RandomPayload",
        [](FailureKinds& t) {
            WriteBytes(t.Scratch / "random.exe", RandomBytes(PAYLOAD_OFFSET + 50000, 7));
            t.Settings.ExeFile = t.Scratch / "random.exe";
        }, TFailureKind::fkNotProtectedExecutable, TSystemReason::srNone},
    TKindRow{"TruncatedArchive",
        [](FailureKinds& t) {
            t.Build(Spec({{"a.bin", std::string(300000, 'a')}}, {"-m0=Copy"}));
            const std::string exe = ReadWholeFile(t.Settings.ExeFile);
            WriteTextFile(t.Settings.ExeFile, exe.substr(0, PAYLOAD_OFFSET + (exe.size() - PAYLOAD_OFFSET) / 2));
        }, TFailureKind::fkArchiveUnreadable, TSystemReason::srNone},
    TKindRow{"MissingExecutable",
        [](FailureKinds& t) { t.Settings.ExeFile = t.Scratch / "not-there.exe"; },
        TFailureKind::fkCannotReadExecutable, TSystemReason::srNotFound},
    TKindRow{"FullDisk",
        [](FailureKinds& t) {
            t.Build(Spec({{"big.bin", std::string(3 * 1024 * 1024, 'b')}}, {"-m0=Copy"}));
            t.Mount("size=1m");
        }, TFailureKind::fkCannotWriteOutput, TSystemReason::srNoSpace},
    TKindRow{"UnwritableOutput",
        [](FailureKinds& t) {
            t.Build(Spec({{"a.txt", "alpha"}}));
            t.Mount("size=1m,ro");
        }, TFailureKind::fkCannotWriteOutput, TSystemReason::srReadOnly},
    TKindRow{"NoRoomForTheWork",
        [](FailureKinds& t) {
            t.Build(Spec({{"a.txt", "alpha"}}));
            SetFreeSpaceReaderForTesting([](const std::string&) { return 0; });
        }, TFailureKind::fkNoRoomForWork, TSystemReason::srNoSpace}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
