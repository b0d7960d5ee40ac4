// Faults of the machine during a run: a full disk at each stage, an output
// folder that cannot be written, a staged file that vanishes. Each time the
// user gets a clear message, nothing they had is lost or changed unless they
// chose to replace it, and no work folder is left behind.
#include "support/TmpfsMount.h"
#include "support/WorkerFixture.h"

namespace {

class WorkerFaults : public WorkerRun {
protected:
    // A tmpfs of `options` at `folder`, or the test is skipped with the reason.
    bool MountOrSkip(std::unique_ptr<TTmpfsMount>& mount, const std::string& folder, const std::string& options)
    {
        mount = std::make_unique<TTmpfsMount>(folder, options);
        return mount->Mounted();
    }

    std::map<std::string, std::string> Contents(const std::string& folder)
    {
        std::map<std::string, std::string> files;
        for (const std::string& path : ListFiles(folder))
            files[path] = ReadWholeFile(IncludeTrailingPathDelimiter(folder) + path);
        return files;
    }

    static std::string Random(size_t bytes, uint32_t seed)
    {
        const auto data = RandomBytes(bytes, seed);
        return std::string(data.begin(), data.end());
    }
};

#define SKIP_WITHOUT_MOUNT(mount, folder, options)                                                   \
    std::unique_ptr<TTmpfsMount> mount;                                                              \
    if (!MountOrSkip(mount, folder, options))                                                        \
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root): this fault is not tested";

TEST_F(WorkerFaults, MainWorkFolderTooSmallSendsThePayloadWhereThereIsRoom)
{
    const std::string big = Random(3 * 1024 * 1024, 1);
    Build(Spec({{"big.bin", big}}, {"-m0=Copy"}));
    SKIP_WITHOUT_MOUNT(small, Scratch / "small", "size=1m");
    DeleteFolderTree(g_sWorkDir);
    g_sWorkDir = CreateUniqueFolder(Scratch / "small/", "tq_");
    Settings.DllFile = g_sWorkDir + "7z.dll";
    WriteTextFile(Out("keep.txt"), "mine");

    EXPECT_EQ(Run(), DONE) << Error;
    EXPECT_EQ(Contents(Settings.OutputDir), (std::map<std::string, std::string>{{"big.bin", big}, {"keep.txt", "mine"}}));
    EXPECT_EQ(ListFiles(g_sWorkDir), std::vector<std::string>{}) << "nothing was written where it could not fit";
    EXPECT_TRUE(LeftoverWorkFolders().empty()) << "the payload's own work folder goes after the run";
}

TEST_F(WorkerFaults, FullDiskDuringTheExtraction)
{
    Build(Spec({{"a.txt", "alpha"}, {"big.bin", Random(3 * 1024 * 1024, 2)}}, {"-m0=Copy"}));
    SKIP_WITHOUT_MOUNT(small, Scratch / "out", "size=1m");
    WriteTextFile(Out("keep.txt"), "mine");

    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find("No space left on device"), std::string::npos) << Error;
    const auto left = Contents(Settings.OutputDir);
    EXPECT_EQ(left.at("keep.txt"), "mine");
    EXPECT_FALSE(left.count("big.bin")) << "no half-written file under its final name";
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(WorkerFaults, FullDiskDuringThePlacement)
{
    Build(Spec({{"a.txt", "alpha"}, {"big.bin", Random(3 * 1024 * 1024, 3)}}, {"-m0=Copy"}));
    SKIP_WITHOUT_MOUNT(small, Scratch / "out", "size=1m");
    WriteTextFile(Out("a.txt"), "mine");
    WriteTextFile(Out("other.txt"), "untouched");
    Ui.Answers = {ocNo};

    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find("big.bin"), std::string::npos) << Error;
    EXPECT_EQ(Contents(Settings.OutputDir),
              (std::map<std::string, std::string>{{"a.txt", "mine"}, {"other.txt", "untouched"}}))
        << "nothing half-written, no temporary copy left";
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(WorkerFaults, ReplacementThatDoesNotFitKeepsTheOldFile)
{
    Build(Spec({{"big.bin", Random(3 * 1024 * 1024, 4)}}, {"-m0=Copy"}));
    SKIP_WITHOUT_MOUNT(small, Scratch / "out", "size=1m");
    WriteTextFile(Out("big.bin"), "the user's own big.bin");
    Ui.Answers = {ocYes};

    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find("big.bin"), std::string::npos) << Error;
    EXPECT_EQ(Contents(Settings.OutputDir),
              (std::map<std::string, std::string>{{"big.bin", "the user's own big.bin"}}));
}

TEST_F(WorkerFaults, OutputFolderThatCannotBeWritten)
{
    Build(Spec({{"a.txt", "alpha"}}));
    SKIP_WITHOUT_MOUNT(readOnly, Scratch / "out", "size=1m,ro");

    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find("Read-only file system"), std::string::npos) << Error;
    EXPECT_TRUE(ListFiles(Settings.OutputDir).empty());
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(WorkerFaults, StagedFileRemovedInMidRun)
{
    Build(Spec({{"a.txt", "alpha"}, {"b.txt", "bravo"}, {"c.txt", "charlie"}}));
    WriteTextFile(Out("a.txt"), "mine");
    Ui.Answers = {ocYes};
    // While the first question is open, the staged b.txt disappears.
    Ui.OnAskOverWrite = [](const std::string&, const std::string& newFile) {
        DeleteFile(ExtractFilePath(newFile) + "b.txt");
    };

    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find("b.txt"), std::string::npos) << Error;
    EXPECT_EQ(Contents(Settings.OutputDir),
              (std::map<std::string, std::string>{{"a.txt", "alpha"}, {"c.txt", "charlie"}}));
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(WorkerFaults, TemporaryFolderMountedNoexec)
{
    Build(Spec({{"a.txt", "alpha"}}));
    SKIP_WITHOUT_MOUNT(noexec, Temp, "size=64m,noexec");
    g_sWorkDir = CreateWorkFolder(10 * 1024 * 1024);
    ASSERT_EQ(g_sWorkDir.rfind(Temp, 0), 0u) << "the work folder must be on the noexec mount";
    Settings.DllFile = g_sWorkDir + "7z.dll";

    EXPECT_EQ(Run(), DONE) << Error;
    EXPECT_EQ(Contents(Settings.OutputDir), (std::map<std::string, std::string>{{"a.txt", "alpha"}}));
}

}  // namespace
