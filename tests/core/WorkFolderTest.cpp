#include "extract/WorkFolder.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/Resources.h"
#include "platform/TempFolder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int64_t MiB = 1024 * 1024;

class WorkFolders : public ::testing::Test {
protected:
    void TearDown() override { SetFreeSpaceReaderForTesting(nullptr); }
};

TEST_F(WorkFolders, NewFolderInTheTemporaryFolderWithTheNamingRule)
{
    const std::string folder = CreateWorkFolder(10 * 1024 * 1024);
    const std::string temp = GetSystemTempFolder();
    ASSERT_EQ(folder.rfind(temp, 0), 0u) << folder;
    EXPECT_TRUE(std::regex_match(folder.substr(temp.size()), std::regex(PATH_DELIMITER == '/' ? "tq_[0-9A-F]{1,4}\\.tmp/" : "tq_[0-9A-F]{1,4}\\.tmp\\\\")));
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_TRUE(ListFiles(folder).empty());
    const std::string second = CreateWorkFolder(0);
    EXPECT_NE(second, folder);
    DeleteFolderTree(folder);
    DeleteFolderTree(second);
    EXPECT_FALSE(DirectoryExists(folder));
}

#ifndef _WIN32
struct TFallbackCase {
    const char* Name;
    int32_t TempMiB, VarTmpMiB, CacheMiB;
    int64_t RequiredBytes;
    const char* ExpectedBase;  // "temp", "vartmp" or "cache"
    friend std::ostream& operator<<(std::ostream& out, const TFallbackCase& c) { return out << c.Name; }
};

class WorkFolderFallback : public WorkFolders, public ::testing::WithParamInterface<TFallbackCase> {};

TEST_P(WorkFolderFallback, ChoosesTheBaseByFreeSpace)
{
    const TFallbackCase& c = GetParam();
    const std::string temp = GetSystemTempFolder();
    const std::string cache = UserCacheFolder();
    ForceDirectories(cache);
    SetFreeSpaceReaderForTesting([&](const std::string& path) {
        if (path == temp)
            return c.TempMiB;
        if (path == "/var/tmp/")
            return c.VarTmpMiB;
        if (path == cache)
            return c.CacheMiB;
        return 0;
    });
    const std::string folder = CreateWorkFolder(c.RequiredBytes);
    const std::string expected = std::string(c.ExpectedBase) == "temp"     ? temp
                                 : std::string(c.ExpectedBase) == "vartmp" ? std::string("/var/tmp/")
                                                                           : cache;
    EXPECT_EQ(ExtractFilePath(ExcludeTrailingPathDelimiter(folder)), expected) << c.Name;
    DeleteFolderTree(folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkFolderFallback, ::testing::Values(
    TFallbackCase{"temp has room", 100, 500, 500, 50 * MiB, "temp"},
    TFallbackCase{"temp wins at equality", 50, 500, 500, 50 * MiB, "temp"},
    TFallbackCase{"temp short, /var/tmp has more", 10, 51, 500, 50 * MiB, "vartmp"},
    TFallbackCase{"a candidate at equality is passed over", 10, 50, 51, 50 * MiB, "cache"},
    TFallbackCase{"nobody has room: temp stays", 10, 20, 30, 50 * MiB, "temp"},
    TFallbackCase{"below 1 MiB counts as 0", 0, 500, 500, MiB - 1, "temp"}),
    [](const auto& info) { return std::to_string(info.index); });
#else
struct TDriveCase {
    const char* Name;
    int32_t TempMiB;
    std::map<std::string, int32_t> DriveMiB;  // "C:" ... as asked; others have 0
    int64_t RequiredBytes;
    const char* ExpectedBase;  // "temp", or the root the folder goes into
    friend std::ostream& operator<<(std::ostream& out, const TDriveCase& c) { return out << c.Name; }
};

class WorkFolderDrives : public WorkFolders, public ::testing::WithParamInterface<TDriveCase> {};

// The drives C to Z in order; A and B never. A drive that does not exist
// here makes the creation fail, and the failure names the root tried.
TEST_P(WorkFolderDrives, ChoosesTheDriveByFreeSpace)
{
    const TDriveCase& c = GetParam();
    const std::string temp = GetSystemTempFolder();
    std::vector<std::string> asked;
    SetFreeSpaceReaderForTesting([&](const std::string& path) {
        if (path == temp)
            return c.TempMiB;
        asked.push_back(path);
        const auto found = c.DriveMiB.find(path);
        return found == c.DriveMiB.end() ? 0 : found->second;
    });
    const std::string expected = std::string(c.ExpectedBase) == "temp" ? temp : c.ExpectedBase;
    std::string base;
    try {
        const std::string folder = CreateWorkFolder(c.RequiredBytes);
        base = ExtractFilePath(ExcludeTrailingPathDelimiter(folder));
        DeleteFolderTree(folder);
    } catch (const EVarnholdError& error) {
        const std::string message = error.what();
        base = message.substr(message.find('"') + 1, expected.size());
    }
    EXPECT_EQ(base, expected) << c.Name;
    for (const std::string& drive : asked)
        EXPECT_TRUE(drive.size() == 2 && drive[0] >= 'C' && drive[0] <= 'Z' && drive[1] == ':') << drive;
    if (std::string(c.ExpectedBase) == "temp" && c.TempMiB < c.RequiredBytes / MiB) {
        EXPECT_EQ(asked.size(), 24u) << "every drive from C to Z is asked";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkFolderDrives, ::testing::Values(
    TDriveCase{"temp has room", 100, {{"C:", 500}}, 50 * MiB, "temp"},
    TDriveCase{"temp wins at equality", 50, {{"C:", 500}}, 50 * MiB, "temp"},
    TDriveCase{"temp short, C has more", 10, {{"C:", 51}}, 50 * MiB, "C:\\"},
    TDriveCase{"a drive at equality is passed over", 10, {{"C:", 50}, {"D:", 51}}, 50 * MiB, "D:\\"},
    TDriveCase{"the first drive with more wins", 10, {{"E:", 60}, {"Q:", 900}}, 50 * MiB, "E:\\"},
    TDriveCase{"A and B are never tried", 10, {{"A:", 900}, {"B:", 900}}, 50 * MiB, "temp"},
    TDriveCase{"nobody has room: temp stays", 10, {{"C:", 20}, {"Z:", 30}}, 50 * MiB, "temp"},
    TDriveCase{"below 1 MiB counts as 0", 0, {{"C:", 500}}, MiB - 1, "temp"}),
    [](const auto& info) { return std::to_string(info.index); });
#endif

#ifndef _WIN32
TEST_F(WorkFolders, UnwritableBaseRaisesAndNeverHandsBackTheBase)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write everywhere";
    TScratchFolder scratch;
    ForceDirectories(scratch / "locked");
    chmod((scratch / "locked").c_str(), 0500);
    EXPECT_THROW(CreateUniqueFolder(scratch / "locked/", "tq_"), EVarnholdError);
}
#endif

const std::string NOT_FOUND_TEXT = SystemWords("No such file or directory", 3);  // ERROR_PATH_NOT_FOUND

TEST_F(WorkFolders, MissingBaseRaisesWithTheBaseNamed)
{
    TScratchFolder scratch;
    try {
        CreateUniqueFolder(scratch / "missing/", "tq_");
        FAIL();
    } catch (const EVarnholdError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create a work folder in \"" + (scratch / "missing/") + "\". " + NOT_FOUND_TEXT);
    }
}

TEST_F(WorkFolders, DeleteFolderTreeRemovesNestedAndHiddenEntries)
{
    TScratchFolder scratch;
    const std::string root = scratch / "tree";
    WriteTextFile(root + "/a.txt", "a");
    WriteTextFile(root + "/.hidden", "h");
    WriteTextFile(root + "/sub/.deeper/x.bin", "x");
    ForceDirectories(root + "/empty");
#ifndef _WIN32
    chmod((root + "/a.txt").c_str(), 0400);  // read-only files go too, as on Linux
#endif
    DeleteFolderTree(root + "/");
    EXPECT_FALSE(DirectoryExists(root));
    DeleteFolderTree(scratch / "does-not-exist");  // nothing happens
}

#ifndef _WIN32
TEST_F(WorkFolders, DeleteFolderTreeNeverFollowsALink)
{
    TScratchFolder scratch;
    WriteTextFile(scratch / "outside/keep.txt", "keep");
    WriteTextFile(scratch / "tree/file.txt", "x");
    ASSERT_EQ(symlink((scratch / "outside").c_str(), (scratch / "tree/dirlink").c_str()), 0);
    ASSERT_EQ(symlink((scratch / "outside/keep.txt").c_str(), (scratch / "tree/filelink").c_str()), 0);
    DeleteFolderTree(scratch / "tree");
    EXPECT_FALSE(DirectoryExists(scratch / "tree"));
    EXPECT_EQ(ReadWholeFile(scratch / "outside/keep.txt"), "keep");
}
#endif

TEST_F(WorkFolders, DeleteMarkerFileInAnyCaseOnlyAtTheTop)
{
    for (const std::string& name : {std::string(MARKER_NAME), std::string("1E1C8EBB-9299-4834-AB8F-9E5A0C04BA8B.Quorvale")}) {
        TScratchFolder scratch;
        WriteTextFile(scratch / name, "m");
        WriteTextFile(scratch / ("sub/" + std::string(MARKER_NAME)), "deep");
        WriteTextFile(scratch / "other.txt", "o");
        DeleteMarkerFile(scratch.Path());
        EXPECT_EQ(ListFiles(scratch.Path()),
                  (std::vector<std::string>{"other.txt", "sub/" + std::string(MARKER_NAME)}))
            << name;
    }
}

TEST_F(WorkFolders, SaveResourceToFileWritesTheEmbeddedLibraryExactly)
{
    TScratchFolder scratch;
    SaveResourceToFile("7z_dll", "FILE", scratch / "7z.dll");
    EXPECT_EQ(ReadWholeFile(scratch / "7z.dll"), ReadWholeFile(VARNHOLD_7Z_LIBRARY));
    SaveResourceToFile("7Z_DLL", "file", scratch / "again.dll");  // names ignore case
    EXPECT_EQ(ReadWholeFile(scratch / "again.dll").size(), ReadWholeFile(VARNHOLD_7Z_LIBRARY).size());
    EXPECT_THROW(SaveResourceToFile("no_such", "FILE", scratch / "x"), EVarnholdError);
    EXPECT_THROW(SaveResourceToFile("7z_dll", "FILE", scratch / "missing/x.dll"), EVarnholdError);
}

}  // namespace
