// Archives made to hurt: names that leave the output folder, names the file
// system cannot take, control characters, an item list that claims a
// gigabyte. Each is refused or handled, nothing lands outside the output
// folder, and the program never crashes.
#ifndef _WIN32
#include "support/TmpfsMount.h"
#endif
#include "support/WorkerFixture.h"

namespace {

class HostileArchives : public WorkerRun {
protected:
    // A payload whose item `from` is renamed to `to` inside the archive.
    void BuildRenamed(const std::string& from, const std::string& to)
    {
        const std::string source = Scratch / "hostile-src/";
        WriteTextFile(source + "a.txt", "alpha");
        WriteTextFile(source + "b.txt", "bravo");
        WriteTextFile(source + MARKER_NAME, std::string(100, 'm'));
        const std::string archive = Scratch / "hostile.7z";
        Make7zArchive(archive, source, {"-pSecret pw"});
        ASSERT_EQ(RunProgram({VARNHOLD_7Z_COMMAND, "rn", "-bd", "-pSecret pw", HostPath(archive), from, to}), 0);
        Settings.ExeFile = Scratch / "hostile.exe";
        MakeProtectedExecutable(Settings.ExeFile, archive);
    }
};

struct TLeavingCase {
    const char* Name;
    const char* Path;  // "@" stands for the scratch folder
};
std::ostream& operator<<(std::ostream& out, const TLeavingCase& c) { return out << c.Name; }

class PathsLeavingTheFolder : public HostileArchives, public ::testing::WithParamInterface<TLeavingCase> {};

TEST_P(PathsLeavingTheFolder, AreRefusedWithNothingWritten)
{
    std::string path = GetParam().Path;
    if (path.rfind("@", 0) == 0)
        path = Scratch / ("outside" + path.substr(1));
    BuildRenamed("b.txt", path);
    Settings.OutputDir = Scratch / "deep/er/out/";
    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find(path), std::string::npos) << Error;
    EXPECT_TRUE(ListFiles(Scratch / "deep").empty());
    EXPECT_FALSE(DirectoryExists(Scratch / "outside"));
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

INSTANTIATE_TEST_SUITE_P(Paths, PathsLeavingTheFolder, ::testing::Values(
    TLeavingCase{"ParentStep", "../escape.txt"}, TLeavingCase{"DeepParentSteps", "../../../../../../../../tmp/escape.txt"},
    TLeavingCase{"ParentStepInside", "sub/../../escape.txt"}, TLeavingCase{"Absolute", "@/evil.txt"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(HostileArchives, NameTooLongForTheFileSystem)
{
    BuildRenamed("b.txt", std::string(300, 'x') + ".txt");
    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find("File name too long"), std::string::npos) << Error;
    for (const std::string& path : ListFiles(Settings.OutputDir))
        EXPECT_EQ(path, "a.txt") << "only whole files stay";
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(HostileArchives, ControlCharactersInANameAreJustCharacters)
{
    const std::string name = "bad\001name\twith\ncontrols.txt";
    BuildRenamed("b.txt", name);
    EXPECT_EQ(Run(), DONE) << Error;
    EXPECT_EQ(ReadWholeFile(Out(name)), "bravo");
}

#ifndef _WIN32
TEST_F(HostileArchives, AnItemListClaimingAGigabyte)
{
    // 150 KiB of archive that unpacks to 1 GiB of zeros; the output folder
    // holds 8 MiB.
    MakeProtectedExecutable(Scratch / "huge.exe", VARNHOLD_FIXTURES "/claims-one-gib.7z");
    Settings.ExeFile = Scratch / "huge.exe";
    Settings.PasswordText = "P";
    std::unique_ptr<TTmpfsMount> small = std::make_unique<TTmpfsMount>(Scratch / "out", "size=8m");
    if (!small->Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root): not tested";
    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find("No space left on device"), std::string::npos) << Error;
    EXPECT_TRUE(ListFiles(Settings.OutputDir).empty()) << "the cut-off file is removed";
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}
#endif

TEST_F(HostileArchives, HugeRequirementsStillGiveAWorkFolder)
{
    for (const int64_t bytes : {INT64_MAX, int64_t(1) << 50, int64_t(-1)}) {
        const std::string folder = CreateWorkFolder(bytes);
        EXPECT_TRUE(DirectoryExists(folder)) << bytes;
        DeleteFolderTree(folder);
    }
}

}  // namespace
