// Archives made to hurt: names that leave the output folder, names the file
// system cannot take, control characters, an item list that claims a
// gigabyte. Each is refused or handled, nothing lands outside the output
// folder, and the program never crashes.
#ifndef _WIN32
#include "support/TmpfsMount.h"
#endif
#include "support/WorkerFixture.h"

#include <algorithm>

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
    // The archive's own delimiter is "/" (the library hands it out as "\" on
    // Windows); a "\" would be kept as part of a name.
    std::replace(path.begin(), path.end(), '\\', '/');
    BuildRenamed("b.txt", path);
    Settings.OutputDir = Scratch / "deep/er/out/";
    EXPECT_EQ(Run(), FAILED);
    EXPECT_NE(Error.find(NativePath(path)), std::string::npos) << Error;
    EXPECT_TRUE(ListFiles(Scratch / "deep").empty());
    EXPECT_FALSE(DirectoryExists(Scratch / "outside"));
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

INSTANTIATE_TEST_SUITE_P(Paths, PathsLeavingTheFolder, ::testing::Values(
    TLeavingCase{"ParentStep", "../escape.txt"}, TLeavingCase{"DeepParentSteps", "../../../../../../../../tmp/escape.txt"},
    TLeavingCase{"ParentStepInside", "sub/../../escape.txt"}, TLeavingCase{"Absolute", "@/evil.txt"}),
    [](const auto& info) { return std::string(info.param.Name); });

#ifdef _WIN32
// What Windows reads as a drive, a server, the drive's root, a device or a
// stream of another file (the library hands them out as "C:\x",
// "\\srv\s\x", "\x" ...), whatever the archive meant by them.
INSTANTIATE_TEST_SUITE_P(WindowsPaths, PathsLeavingTheFolder, ::testing::Values(
    TLeavingCase{"DriveRoot", "C:/x"}, TLeavingCase{"DriveRelative", "C:x"}, TLeavingCase{"Server", "//srv/s/x"},
    TLeavingCase{"RootOfTheDrive", "/x"}, TLeavingCase{"Device", "CON"}, TLeavingCase{"DeviceInAFolder", "a/nul.txt"},
    TLeavingCase{"Stream", "a:stream"}),
    [](const auto& info) { return std::string(info.param.Name); });
#endif

TEST_F(HostileArchives, NameTooLongForTheFileSystem)
{
    BuildRenamed("b.txt", std::string(300, 'x') + ".txt");
    EXPECT_EQ(Run(), FAILED);
    // Windows' reason for such a name differs between its versions (and Wine).
    EXPECT_NE(Error.find(PATH_DELIMITER == '/' ? "File name too long" : "Cannot create file"), std::string::npos) << Error;
    for (const std::string& path : ListFiles(Settings.OutputDir))
        EXPECT_EQ(path, "a.txt") << "only whole files stay";
    EXPECT_TRUE(LeftoverWorkFolders().empty());
}

TEST_F(HostileArchives, ControlCharactersInANameAreJustCharacters)
{
    const std::string name = "bad\001name\twith\ncontrols.txt";
    BuildRenamed("b.txt", name);
#ifdef _WIN32
    // Windows takes no control characters in names: the file is not made.
    EXPECT_EQ(Run(), FAILED) << Error;
    EXPECT_NE(Error.find("Cannot create file"), std::string::npos) << Error;
#else
    EXPECT_EQ(Run(), DONE) << Error;
    EXPECT_EQ(ReadWholeFile(Out(name)), "bravo");
#endif
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
