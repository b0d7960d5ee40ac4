// What a careful user and an attacker try against the output folder, over
// the real library and archives made by the 7z command: damaged data, a
// wrong password that the marker cannot catch, names beyond the Basic
// Multilingual Plane or not UTF-8 at all, links at and in the destination,
// files that appear after the survey, a short disk, an item without a name.
// In every row nothing the user had is lost and no damaged byte stands
// under a final name.
#include "extract/WorkFolder.h"
#include "support/WorkerFixture.h"

#include <thread>
#ifndef _WIN32
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// Flips bytes in the middle of the stored data of a non-solid Copy archive,
// which lies in the order of the names: the second file's data is hit.
void DamageSecondFile(const std::string& exePath)
{
    std::string exe = ReadWholeFile(exePath);
    const size_t middle = static_cast<size_t>(PAYLOAD_OFFSET) + 32 + 30000;
    for (size_t i = 0; i < 4; ++i)
        exe[middle + i] = 0;
    WriteTextFile(exePath, exe);
}

bool IsTemporaryName(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    return !name.empty() && name[0] == '.' && name.size() > 5 && name.substr(name.size() - 5) == ".part";
}

// A symbolic link at `link` to `target`, and where a link points ("" for
// anything else). Under Wine the Linux ln and readlink do it on the host's
// paths; Wine shows such a link to a folder as a reparse point.
bool MakeLink(const std::string& target, const std::string& link)
{
    return RunProgram({"/bin/ln", "-s", HostPath(target), HostPath(link)}) == 0;
}

std::string LinkTarget(const std::string& path)
{
    std::string target;
    if (RunProgram({"/bin/readlink", HostPath(path)}, &target) != 0)
        return std::string();
    while (!target.empty() && target.back() == '\n')
        target.pop_back();
    return target;
}

const std::string A_DATA(20000, 'a');
const std::string B_DATA(20000, 'b');

class HostileOutput;

struct THostileCase {
    const char* Name;
    std::function<void(HostileOutput&)> Arrange;  // builds the executable and prepares the output folder
    TExtractOutcome Outcome;
    std::function<void(HostileOutput&)> Check;    // what must be true of the output folder afterwards
};
std::ostream& operator<<(std::ostream& out, const THostileCase& c) { return out << c.Name; }

class HostileOutput : public WorkerRun, public ::testing::WithParamInterface<THostileCase> {
public:
    using WorkerRun::Build;
    using WorkerRun::Error;
    using WorkerRun::Out;
    using WorkerRun::Scratch;
    using WorkerRun::Settings;
    using WorkerRun::Ui;
};

TEST_P(HostileOutput, NothingTheUserHadIsLost)
{
    GetParam().Arrange(*this);
    EXPECT_EQ(Run(), GetParam().Outcome) << Error;
    GetParam().Check(*this);
    for (const std::string& path : ListFiles(Settings.OutputDir))
        EXPECT_FALSE(IsTemporaryName(path)) << "temporary file left: " << path;
    EXPECT_TRUE(LeftoverWorkFolders().empty());
    SetFreeSpaceReaderForTesting(nullptr);
}

void BuildDamaged(HostileOutput& t, const std::string& userB)
{
    t.Build(Spec({{"a.bin", A_DATA}, {"b.bin", B_DATA}}, {"-m0=Copy", "-ms=off"}));
    DamageSecondFile(t.Settings.ExeFile);
    if (!userB.empty())
        WriteTextFile(t.Out("b.bin"), userB);
}

void ExpectDamagedKeptOut(HostileOutput& t, const std::string& userB)
{
    EXPECT_NE(t.Error.find("b.bin"), std::string::npos) << t.Error;
    EXPECT_EQ(ReadWholeFile(t.Out("a.bin")), A_DATA);
    if (userB.empty())
        EXPECT_FALSE(AnyEntryExists(t.Out("b.bin")));
    else
        EXPECT_EQ(ReadWholeFile(t.Out("b.bin")), userB);
    EXPECT_FALSE(AnyEntryExists(t.Out("b(1).bin")));
}

std::vector<THostileCase> HostileCases()
{
    std::vector<THostileCase> cases = {
        THostileCase{"DamagedFileOnTheDirectPath",
            [](HostileOutput& t) { BuildDamaged(t, ""); }, FAILED,
            [](HostileOutput& t) { ExpectDamagedKeptOut(t, ""); }},
        THostileCase{"DamagedFileAnsweredYes",
            [](HostileOutput& t) { BuildDamaged(t, "mine"); t.Ui.Answers = {ocYes}; }, FAILED,
            [](HostileOutput& t) { ExpectDamagedKeptOut(t, "mine"); }},
        THostileCase{"DamagedFileReplaceForAll",
            [](HostileOutput& t) { BuildDamaged(t, "mine"); t.Ui.AnswerForAll = ocYesAll; }, FAILED,
            [](HostileOutput& t) { ExpectDamagedKeptOut(t, "mine"); }},
        THostileCase{"DamagedFileSkipForAll",
            [](HostileOutput& t) { BuildDamaged(t, "mine"); t.Ui.AnswerForAll = ocNoAll; }, DONE,
            [](HostileOutput& t) { EXPECT_EQ(ReadWholeFile(t.Out("b.bin")), "mine"); EXPECT_EQ(ReadWholeFile(t.Out("a.bin")), A_DATA); }},
        THostileCase{"DamagedFileRenameForAll",
            [](HostileOutput& t) { BuildDamaged(t, "mine"); t.Ui.AnswerForAll = ocRename; }, FAILED,
            [](HostileOutput& t) { ExpectDamagedKeptOut(t, "mine"); }},
        THostileCase{"WrongPasswordThatAnEmptyMarkerCannotCatch",
            [](HostileOutput& t) {
                t.Build(Spec({{"a.txt", "alpha"}}, {"-m0=LZMA2"}, ""));
                WriteTextFile(t.Out("a.txt"), "mine");
                t.Settings.PasswordText = "wrong";
                t.Ui.AnswerForAll = ocYesAll;
            }, FAILED,
            [](HostileOutput& t) {
                EXPECT_NE(t.Error.find("a.txt"), std::string::npos) << t.Error;
                EXPECT_EQ(ReadWholeFile(t.Out("a.txt")), "mine");
            }},
        THostileCase{"AstralNamesAndPassword",
            [](HostileOutput& t) {
                TPayloadSpec spec = Spec({{"\xF0\x9F\x98\x80.txt", "grin"}, {"\xF0\x9F\x98\x81.txt", "beam"}});
                spec.Password = "p\xF0\x9F\x98\x80w";
                t.Settings.PasswordText = spec.Password;
                t.Settings.ExeFile = BuildProtectedExecutable(t.Scratch / "build/", spec);
            }, DONE,
            [](HostileOutput& t) {
                EXPECT_EQ(ReadWholeFile(t.Out("\xF0\x9F\x98\x80.txt")), "grin");
                EXPECT_EQ(ReadWholeFile(t.Out("\xF0\x9F\x98\x81.txt")), "beam");
            }},
        THostileCase{"LinkToAFolderUnderSkip",
            [](HostileOutput& t) {
                t.Build(Spec({{"b.txt", "bravo"}}));
                WriteTextFile(t.Scratch / "elsewhere/own.txt", "own");
                ForceDirectories(t.Settings.OutputDir);
                ASSERT_TRUE(MakeLink(t.Scratch / "elsewhere", t.Out("b.txt")));
                t.Ui.AnswerForAll = ocNoAll;
            }, DONE,
            [](HostileOutput& t) {
                EXPECT_EQ(LinkTarget(t.Out("b.txt")), HostPath(t.Scratch / "elsewhere"));
                EXPECT_EQ(ListFiles(t.Scratch / "elsewhere"), std::vector<std::string>{"own.txt"});
            }},
        THostileCase{"LinkToAFolderInThePath",
            [](HostileOutput& t) {
                t.Build(Spec({{"sub/c.txt", "charlie"}}));
                ForceDirectories(t.Scratch / "elsewhere");
                ForceDirectories(t.Settings.OutputDir);
                ASSERT_TRUE(MakeLink(t.Scratch / "elsewhere", t.Out("sub")));
            }, FAILED,
            [](HostileOutput& t) { EXPECT_TRUE(ListFiles(t.Scratch / "elsewhere").empty()) << "nothing written through the link"; }},
        THostileCase{"FileThatAppearsAfterTheSurveyIsAConflict",
            [](HostileOutput& t) {
                t.Build(Spec({{"a.txt", "alpha"}, {"b.txt", "bravo"}}));
                t.Ui.OnAnswerForAll = [&t] { WriteTextFile(t.Out("b.txt"), "came meanwhile"); };
                t.Ui.Answers = {ocNo};
            }, DONE,
            [](HostileOutput& t) {
                EXPECT_EQ(t.Ui.AskedFor, std::vector<std::string>{t.Out("b.txt")});
                EXPECT_EQ(ReadWholeFile(t.Out("b.txt")), "came meanwhile");
                EXPECT_EQ(ReadWholeFile(t.Out("a.txt")), "alpha");
            }},
        THostileCase{"MarkerNameInTheOutputIsNoConflict",
            [](HostileOutput& t) {
                t.Build(Spec({{"a.txt", "alpha"}}));
                WriteTextFile(t.Out(MARKER_NAME), "left by an earlier run");
            }, DONE,
            [](HostileOutput& t) {
                EXPECT_TRUE(t.Ui.AskedFor.empty());
                EXPECT_EQ(ReadWholeFile(t.Out("a.txt")), "alpha");
                EXPECT_EQ(ReadWholeFile(t.Out(MARKER_NAME)), "left by an earlier run") << "not ours to delete";
            }},
        THostileCase{"MarkerNeverReachesTheOutput",
            [](HostileOutput& t) { t.Build(Spec({{"a.txt", "alpha"}})); }, DONE,
            [](HostileOutput& t) { EXPECT_EQ(ListFiles(t.Settings.OutputDir), std::vector<std::string>{"a.txt"}); }},
        THostileCase{"ItemWithoutAName",
            [](HostileOutput& t) {
                const std::string archive = t.Scratch / "build/noname.7z";
                WriteTextFile(t.Scratch / "build/src/" + MARKER_NAME, std::string(100, 'm'));
                ASSERT_EQ(RunProgram({"/bin/sh", "-c", "echo hi | \"$0\" a -bd -si -p'Secret pw' \"$1\" >/dev/null && cd \"$2\" && \"$0\" a -bd -p'Secret pw' \"$1\" \"$3\" >/dev/null",
                                      VARNHOLD_7Z_COMMAND, HostPath(archive), HostPath(t.Scratch / "build/src"), MARKER_NAME}), 0);
                MakeProtectedExecutable(t.Scratch / "build/noname.exe", archive);
                t.Settings.ExeFile = t.Scratch / "build/noname.exe";
            }, FAILED,
            [](HostileOutput& t) { EXPECT_TRUE(ListFiles(t.Settings.OutputDir).empty()); }},
        THostileCase{"NoRoomAnywhereIsReportedBeforeTheCopy",
            [](HostileOutput& t) {
                t.Build(Spec({{"a.txt", "alpha"}}));
                SetFreeSpaceReaderForTesting([](const std::string&) { return 0; });
            }, FAILED,
            [](HostileOutput& t) {
                EXPECT_FALSE(AnyEntryExists(g_sWorkDir + "tmp.dat")) << "nothing copied first";
                EXPECT_NE(t.Error.find("no room"), std::string::npos) << t.Error;
                EXPECT_FALSE(AnyEntryExists(t.Settings.OutputDir)) << "the output folder this run made goes again";
            }},
        THostileCase{"FoldersAFailedRunMadeGoAgain",
            [](HostileOutput& t) {
                t.Build(Spec({{"a.txt", "alpha"}}));
                t.Settings.OutputDir = t.Scratch / "nest/a/b/c/";
                t.Settings.PasswordText = "wrong";
            }, WRONG_PASSWORD,
            [](HostileOutput& t) { EXPECT_FALSE(AnyEntryExists(t.Scratch / "nest")); }},
    };
#ifndef _WIN32
    // Not on Windows: its names are UTF-16, so a byte that is not UTF-8 has
    // no name there; and Wine shows a Unix link to a file as the file and
    // a dangling one not at all.
    cases.insert(cases.end(), {
        THostileCase{"NameThatIsNotUtf8KeepsItsBytes",
            [](HostileOutput& t) { t.Build(Spec({{"caf\xE9.txt", "latin-1"}, {"\xFF\xFE.txt", "bytes"}})); }, DONE,
            [](HostileOutput& t) {
                EXPECT_EQ(ReadWholeFile(t.Out("caf\xE9.txt")), "latin-1");
                EXPECT_EQ(ReadWholeFile(t.Out("\xFF\xFE.txt")), "bytes");
            }},
        THostileCase{"DanglingLinkAtTheNameIsNotWrittenThrough",
            [](HostileOutput& t) {
                t.Build(Spec({{"a.txt", "alpha"}}));
                ForceDirectories(t.Settings.OutputDir);
                ASSERT_EQ(symlink((t.Scratch / "outside.txt").c_str(), t.Out("a.txt").c_str()), 0);
                t.Ui.Answers = {ocNo};
            }, DONE,
            [](HostileOutput& t) {
                EXPECT_EQ(t.Ui.AskedFor, std::vector<std::string>{t.Out("a.txt")}) << "a link at the name is a conflict";
                EXPECT_EQ(LinkTarget(t.Out("a.txt")), HostPath(t.Scratch / "outside.txt"));
                EXPECT_FALSE(AnyEntryExists(t.Scratch / "outside.txt"));
            }},
        THostileCase{"DanglingLinkReplacedIsTheLinkItself",
            [](HostileOutput& t) {
                t.Build(Spec({{"a.txt", "alpha"}}));
                ForceDirectories(t.Settings.OutputDir);
                ASSERT_EQ(symlink((t.Scratch / "outside.txt").c_str(), t.Out("a.txt").c_str()), 0);
                t.Ui.AnswerForAll = ocYesAll;
            }, DONE,
            [](HostileOutput& t) {
                EXPECT_EQ(LinkTarget(t.Out("a.txt")), "") << "the link is gone, a file stands there";
                EXPECT_EQ(ReadWholeFile(t.Out("a.txt")), "alpha");
                EXPECT_FALSE(AnyEntryExists(t.Scratch / "outside.txt"));
            }},
        THostileCase{"RenameStepsOverFoldersAndLinks",
            [](HostileOutput& t) {
                t.Build(Spec({{"f.txt", "new"}}));
                WriteTextFile(t.Out("f.txt"), "mine");
                ForceDirectories(t.Out("f(1).txt"));
                ASSERT_EQ(symlink("nowhere", t.Out("f(2).txt").c_str()), 0);
                t.Ui.Answers = {ocRename};
            }, DONE,
            [](HostileOutput& t) {
                EXPECT_EQ(ReadWholeFile(t.Out("f.txt")), "mine");
                EXPECT_TRUE(IsRealDirectory(t.Out("f(1).txt")));
                EXPECT_EQ(ReadWholeFile(t.Out("f(3).txt")), "new");
            }},
    });
#endif
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileOutput, ::testing::ValuesIn(HostileCases()),
    [](const auto& info) { return std::string(info.param.Name); });

#ifndef _WIN32
std::string Random(size_t bytes, uint32_t seed)
{
    const auto data = RandomBytes(bytes, seed);
    return std::string(data.begin(), data.end());
}

// A run killed outright at any moment leaves only whole files under final
// names: a file is renamed into place only once it is complete.
TEST_F(WorkerRun, KilledRunLeavesOnlyWholeFiles)
{
    std::map<std::string, std::string> files;
    for (int i = 0; i < 6; ++i)
        files["f" + std::to_string(i) + ".bin"] = Random(1500000, static_cast<uint32_t>(40 + i));
    Build(Spec(files, {"-m0=Copy"}));
    for (const int milliseconds : {150, 300, 450, 600, 800}) {
        const std::string out = Scratch / ("killed" + std::to_string(milliseconds) + "/");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setenv("VARNHOLD_PASSWORD", "Secret pw", 1);
            execl(VARNHOLD_CLI, VARNHOLD_CLI, "--quiet", Settings.ExeFile.c_str(), out.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        for (const std::string& path : ListFiles(out)) {
            if (IsTemporaryName(path))
                continue;
            ASSERT_TRUE(files.count(path)) << path;
            EXPECT_EQ(ReadWholeFile(out + path), files[path]) << path << " after " << milliseconds << " ms";
        }
    }
}
#endif

}  // namespace
