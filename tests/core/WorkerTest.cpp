#include "extract/Worker.h"

#include "extract/Payload.h"
#include "extract/WorkFolder.h"
#include "platform/FileFacts.h"
#include "platform/Paths.h"
#include "platform/PauseGate.h"
#include "support/PayloadBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TestSupport.h"
#include "support/WorkerFixture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace {

const std::map<std::string, std::string> FIVE_FILES = {
    {"a.txt", "alpha"}, {"b.txt", "bravo"}, {"docs/c.txt", "charlie"},
    {"docs/d.txt", "delta"}, {"e.bin", std::string(5000, 'e')}};


TEST_F(WorkerRun, DirectPathExtractsEverythingButTheMarker)
{
    TPayloadSpec spec;
    spec.Files = FIVE_FILES;
    spec.EmptyFolders = {"empty"};
    Build(spec);
    Settings.OutputDir = Scratch / "out";  // no final "/": works as if it had one
    EXPECT_EQ(Run(), DONE) << Error;
    EXPECT_EQ(ListFiles(Settings.OutputDir),
              (std::vector<std::string>{"a.txt", "b.txt", "docs/c.txt", "docs/d.txt", "e.bin"}));
    EXPECT_EQ(ReadWholeFile(Scratch / "out/docs/c.txt"), "charlie");
    EXPECT_FALSE(DirectoryExists(Scratch / "out/empty")) << "folder items are passed over";
    EXPECT_EQ(g_nFileCount.load(), 6) << "the marker counts as a file item";
    EXPECT_EQ(Ui.TotalsShown.size(), 1u);
    EXPECT_TRUE(Ui.AskedFor.empty());
    EXPECT_TRUE(IsSet(g_bExtracting));
    EXPECT_TRUE(LeftoverWorkFolders().empty());
    EXPECT_EQ(Settings.PayloadFile, g_sWorkDir + "tmp.dat");
}

TEST_F(WorkerRun, ExtractedFilesKeepTheirModificationTime)
{
    Build(Spec({{"old.txt", "old"}}));
    // Rebuild with a known time on the file.
    const std::string source = Scratch / "timed/";
    WriteTextFile(source + "old.txt", "old");
    WriteTextFile(source + MARKER_NAME, std::string(100, 'm'));
    ASSERT_EQ(RunProgram({"/usr/bin/touch", "-d", "2001-02-03 04:05:06", HostPath(source + "old.txt")}), 0);
    Make7zArchive(Scratch / "timed.7z", source, {"-pSecret pw"});
    MakeProtectedExecutable(Settings.ExeFile, Scratch / "timed.7z");
    WriteTextFile(Out("old.txt"), "mine");  // a conflict: the copy path must keep the time too
    Ui.Answers = {ocYes};
    ASSERT_EQ(Run(), DONE) << Error;
    TFileFacts placed = GetFileFacts(Out("old.txt"));
    TFileFacts original = GetFileFacts(source + "old.txt");
    ASSERT_TRUE(placed.Found && original.Found);
    EXPECT_EQ(std::mktime(&placed.Modified), std::mktime(&original.Modified));
    EXPECT_EQ(ReadWholeFile(Out("old.txt")), "old");
}

struct TConflictCase {
    const char* Name;
    std::vector<TOverwriteChoice> Answers;
    size_t Questions;
    std::map<std::string, std::string> Expected;  // output folder afterwards
};

std::ostream& operator<<(std::ostream& out, const TConflictCase& c) { return out << c.Name; }

class WorkerConflicts : public WorkerRun, public ::testing::WithParamInterface<TConflictCase> {};

// Every file of the archive already exists, with the content "mine".
TEST_P(WorkerConflicts, DecisionTable)
{
    const TConflictCase& c = GetParam();
    Build(Spec(FIVE_FILES));
    for (const auto& [path, content] : FIVE_FILES)
        WriteTextFile(Out(path), "mine");
    Ui.Answers.assign(c.Answers.begin(), c.Answers.end());
    EXPECT_EQ(Run(), (std::count(GetParam().Answers.begin(), GetParam().Answers.end(), ocCancel) ? CANCELLED : DONE)) << Error;
    EXPECT_EQ(Ui.AskedFor.size(), c.Questions);
    std::map<std::string, std::string> found;
    for (const std::string& path : ListFiles(Settings.OutputDir))
        found[path] = ReadWholeFile(Out(path));
    EXPECT_EQ(found, c.Expected);
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

std::map<std::string, std::string> Mine(std::initializer_list<std::string> paths)
{
    std::map<std::string, std::string> files;
    for (const auto& p : paths)
        files[p] = "mine";
    return files;
}

std::map<std::string, std::string> Merge(std::map<std::string, std::string> a, const std::map<std::string, std::string>& b)
{
    for (const auto& [k, v] : b)
        a[k] = v;
    return a;
}

INSTANTIATE_TEST_SUITE_P(Answers, WorkerConflicts, ::testing::Values(
    TConflictCase{"YesEachTime", {ocYes, ocYes, ocYes, ocYes, ocYes}, 5, FIVE_FILES},
    TConflictCase{"NoEachTime", {ocNo, ocNo, ocNo, ocNo, ocNo}, 5, Mine({"a.txt", "b.txt", "docs/c.txt", "docs/d.txt", "e.bin"})},
    TConflictCase{"YesToAll", {ocYesAll}, 1, FIVE_FILES},
    TConflictCase{"NoToAll", {ocNoAll}, 1, Mine({"a.txt", "b.txt", "docs/c.txt", "docs/d.txt", "e.bin"})},
    TConflictCase{"NoThenYesToAll", {ocNo, ocYesAll}, 2, Merge(FIVE_FILES, {{"a.txt", "mine"}})},
    TConflictCase{"AutoRename", {ocRename}, 1,
                  Merge(Mine({"a.txt", "b.txt", "docs/c.txt", "docs/d.txt", "e.bin"}),
                        {{"a(1).txt", "alpha"}, {"b(1).txt", "bravo"}, {"docs/c(1).txt", "charlie"},
                         {"docs/d(1).txt", "delta"}, {"e(1).bin", std::string(5000, 'e')}})},
    TConflictCase{"CancelAtTheSecond", {ocYes, ocCancel}, 2, Merge(Mine({"b.txt", "docs/c.txt", "docs/d.txt", "e.bin"}), {{"a.txt", "alpha"}})}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(WorkerRun, NewFilesBetweenConflictsArePlacedWithoutAQuestion)
{
    Build(Spec(FIVE_FILES));
    WriteTextFile(Out("b.txt"), "mine");
    WriteTextFile(Out("docs/d.txt"), "mine");
    WriteTextFile(Out(MARKER_NAME), "a file of the user's that happens to have the marker's name");
    Ui.Answers = {ocNo, ocYes};
    EXPECT_EQ(Run(), DONE) << Error;
    EXPECT_EQ(Ui.AskedFor, (std::vector<std::string>{Out("b.txt"), Out("docs/d.txt")}));
    EXPECT_EQ(ReadWholeFile(Out("a.txt")), "alpha");
    EXPECT_EQ(ReadWholeFile(Out("b.txt")), "mine");
    EXPECT_EQ(ReadWholeFile(Out("docs/d.txt")), "delta");
    EXPECT_EQ(ReadWholeFile(Out(MARKER_NAME)), "a file of the user's that happens to have the marker's name")
        << "the marker is never placed";
    EXPECT_EQ(g_nFilesPlaced.load(), 5);
}

TEST_F(WorkerRun, RenameSkipsNamesAlreadyTaken)
{
    EXPECT_EQ(GetRenameName(Scratch / "report.txt"), Scratch / "report(1).txt");
    WriteTextFile(Scratch / "report(1).txt", "");
    WriteTextFile(Scratch / "report(2).txt", "");
    ForceDirectories(Scratch / "report(3).txt");  // a folder takes the name as well: nothing could go there
#ifdef _WIN32
    WriteTextFile(Scratch / "report(4).txt", "");
#else
    ASSERT_EQ(symlink("nowhere", (Scratch / "report(4).txt").c_str()), 0);  // so does a dangling link
#endif
    EXPECT_EQ(GetRenameName(Scratch / "report.txt"), Scratch / "report(5).txt");
    EXPECT_EQ(GetRenameName("/out/data.tar.gz"), "/out/data.tar(1).gz");
    EXPECT_EQ(GetRenameName("/out/README"), "/out/README(1)");
    EXPECT_EQ(GetRenameName("/out/.profile"), "/out/(1).profile");
    EXPECT_EQ(ExtractFileNameNoExt("/out/data.tar.gz"), "data.tar");
    EXPECT_EQ(ExtractFileNameNoExt("/out/.profile"), "");
}

struct TPasswordCase {
    const char* Name;
    std::vector<std::string> Switches;
};
std::ostream& operator<<(std::ostream& out, const TPasswordCase& c) { return out << c.Name; }

class WorkerWrongPassword : public WorkerRun, public ::testing::WithParamInterface<TPasswordCase> {};

TEST_P(WorkerWrongPassword, LeavesTheOutputFolderUntouched)
{
    Build(Spec(FIVE_FILES, GetParam().Switches));
    WriteTextFile(Out("keep.txt"), "mine");
    for (const char* wrong : {"wrong", "Secret p", "secret pw", "Secret pw "}) {
        Settings.PasswordText = wrong;
        TScriptedUi ui;
        TThreaEncryptFile worker(Settings, ui);
        worker.Resume();
        EXPECT_EQ(ui.WaitForDone(), WRONG_PASSWORD) << wrong << ": " << worker.ErrorText();
        worker.WaitFor();
        EXPECT_EQ(ListFiles(Settings.OutputDir), std::vector<std::string>{"keep.txt"}) << wrong;
    }
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

INSTANTIATE_TEST_SUITE_P(Methods, WorkerWrongPassword, ::testing::Values(
    TPasswordCase{"LZMA2", {"-m0=LZMA2"}}, TPasswordCase{"Copy", {"-m0=Copy"}},
    TPasswordCase{"Deflate", {"-m0=Deflate"}}, TPasswordCase{"PPMd", {"-m0=PPMd"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(WorkerRun, MarkerOfSizeZeroOrNoMarkerPassesWhateverThePassword)
{
    Build(Spec({{"a.txt", "alpha"}}, {"-m0=LZMA2"}, ""));
    Settings.PasswordText = "wrong";
    EXPECT_NE(Run(), WRONG_PASSWORD);
}

TEST_F(WorkerRun, TraversalArchiveIsRefusedWithNothingWritten)
{
    // An item "../escape.txt": made with -spf from a folder below the file.
    const std::string src = Scratch / "trav/inner/";
    WriteTextFile(Scratch / "trav/escape.txt", "evil");
    WriteTextFile(src + MARKER_NAME, std::string(100, 'm'));
    ASSERT_EQ(RunProgram({"/bin/sh", "-c", "cd \"$0\" && \"$1\" a -t7z -bd -spf -pSecret\\ pw ../../trav.7z ../escape.txt " +
                                          std::string(MARKER_NAME),
                          HostPath(src), VARNHOLD_7Z_COMMAND}),
              0);
    MakeProtectedExecutable(Scratch / "trav.exe", Scratch / "trav.7z");
    Settings.ExeFile = Scratch / "trav.exe";
    Settings.OutputDir = Scratch / "deep/out/";
    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find(NativePath("../escape.txt")), std::string::npos) << Error;
    EXPECT_TRUE(ListFiles(Scratch / "deep").empty());
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(WorkerRun, NotAProtectedExecutableEndsWithAnError)
{
    WriteBytes(Scratch / "plain.exe", RandomBytes(PAYLOAD_OFFSET + 5000, 11));
    Settings.ExeFile = Scratch / "plain.exe";
    EXPECT_EQ(Run(), FAILED);
    EXPECT_FALSE(Error.empty());
    WriteBytes(Scratch / "short.exe", RandomBytes(1000, 12));
    Settings.ExeFile = Scratch / "short.exe";
    TScriptedUi ui;
    TThreaEncryptFile worker(Settings, ui);
    worker.Resume();
    EXPECT_EQ(ui.WaitForDone(), FAILED);
    worker.WaitFor();
    EXPECT_NE(worker.ErrorText().find("not a protected executable"), std::string::npos);
}

TEST_F(WorkerRun, DamagedItemEndsTheRunNamingIt)
{
    // Non-solid, stored: flipping bytes in the middle hits one item's data only.
    Build(Spec({{"a.bin", std::string(20000, 'a')}, {"b.bin", std::string(20000, 'b')}},
               {"-m0=Copy", "-ms=off"}));
    std::string exe = ReadWholeFile(Settings.ExeFile);
    const size_t middle = static_cast<size_t>(PAYLOAD_OFFSET) + 32 + 30000;
    for (size_t i = 0; i < 16; ++i)
        exe[middle + i] = static_cast<char>(exe[middle + i] ^ 0x5A);
    WriteTextFile(Settings.ExeFile, exe);
    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find(".bin"), std::string::npos) << Error;
}

TEST_F(WorkerRun, PlacementFailureIsReportedNotSilent)
{
    Build(Spec({{"a.txt", "alpha"}, {"sub/b.txt", "bravo"}}));
    WriteTextFile(Out("a.txt"), "mine");
    WriteTextFile(Out("sub"), "a file where the archive wants a folder");
    Ui.Answers = {ocYes};
    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find(NativePath("sub/b.txt")), std::string::npos) << Error;
    EXPECT_EQ(ReadWholeFile(Out("a.txt")), "alpha");
    EXPECT_EQ(ReadWholeFile(Out("sub")), "a file where the archive wants a folder");
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(WorkerRun, CancelDuringTheCopyEndsQuietlyWithNothingWritten)
{
    Build(Spec(FIVE_FILES));
    Ui.OnShowTotalSize = [] { SetFlag(g_bCancel, true); };
    EXPECT_EQ(Run(), CANCELLED);
    EXPECT_TRUE(ListFiles(Settings.OutputDir).empty());
    EXPECT_FALSE(FileExists(Settings.DllFile)) << "the library is not written after a cancel";
}

TEST_F(WorkerRun, CancelDuringTheExtractionLeavesNoHalfWrittenFile)
{
    // Incompressible data, so the extraction takes long enough to be interrupted.
    std::map<std::string, std::string> files;
    for (int i = 0; i < 6; ++i) {
        const auto bytes = RandomBytes(8 * 1024 * 1024, 100 + i);
        files["big" + std::to_string(i) + ".bin"] = std::string(bytes.begin(), bytes.end());
    }
    Build(Spec(files, {"-m0=Copy"}));
    WorkerPauseGate().Pause();
    TThreaEncryptFile worker(Settings, Ui);
    worker.Resume();
    // Freeze the worker inside the extraction, then cancel and let it go.
    while (!(IsSet(g_bExtracting) && !ListFiles(Settings.OutputDir).empty())) {
        WorkerPauseGate().Resume();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        WorkerPauseGate().Pause();
    }
    worker.Cancel();
    EXPECT_EQ(Ui.WaitForDone(), CANCELLED) << worker.ErrorText();
    worker.WaitFor();
    for (const std::string& path : ListFiles(Settings.OutputDir))
        EXPECT_EQ(ReadWholeFile(Out(path)), files[path]) << path << " is half written";
    EXPECT_LT(ListFiles(Settings.OutputDir).size(), files.size());
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(WorkerRun, PauseFreezesTheRunUntilContinue)
{
    Build(Spec(FIVE_FILES));
    WorkerPauseGate().Pause();
    TThreaEncryptFile worker(Settings, Ui);
    worker.Resume();
    while (g_nCurrentSize.load() == 0)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(IsSet(g_bExtracting)) << "a paused worker must not move on";
    EXPECT_TRUE(ListFiles(Settings.OutputDir).empty());
    WorkerPauseGate().Resume();
    EXPECT_EQ(Ui.WaitForDone(), DONE) << worker.ErrorText();
    worker.WaitFor();
    EXPECT_EQ(ListFiles(Settings.OutputDir).size(), FIVE_FILES.size());
}

TEST_F(WorkerRun, OutputFolderThatCannotBeCreated)
{
    Build(Spec(FIVE_FILES));
    WriteTextFile(Scratch / "blocker", "a file where the output folder should be");
    Settings.OutputDir = Scratch / "blocker/out";
    EXPECT_EQ(Run(), FOLDER_FAILED);
    EXPECT_EQ(OutcomeWParam(FOLDER_FAILED), 0u);
    EXPECT_EQ(OutcomeLParam(FOLDER_FAILED), 1);
}

}  // namespace
