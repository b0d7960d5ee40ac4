#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

TEST(Paths, PathLeavesFolder)
{
    const std::pair<const char*, bool> cases[] = {
        {"a.txt", false},       {"dir/a.txt", false},  {"..a/b", false},     {"a../b", false},
        {"dir/..hidden", false}, {"", false},           {"../a.txt", true},   {"/etc/passwd", true},
        {"dir/../../a", true},  {"dir/..", true},       {"..", true},         {"a/./../b", true},
    };
    for (const auto& [path, leaves] : cases)
        EXPECT_EQ(PathLeavesFolder(path), leaves) << path;
}

#ifdef _WIN32
// What Windows reads as another place than a name inside the folder.
TEST(Paths, PathLeavesFolderOnWindows)
{
    const std::pair<const char*, bool> cases[] = {
        {"..\\x", true},          {"a\\..\\..\\b", true}, {"C:\\x", true},     {"C:x", true},
        {"\\\\srv\\s\\x", true}, {"\\x", true},            {"CON", true},        {"a:stream", true},
        {"dir\\nul.txt", true},    {"com1", true},             {"LPT9.log", true},   {"..\\", true},
        {".. \\x", true},          {"a\\...\\b", true},       {"dir\\a.txt", false}, {"console.txt", false},
        {"com10", false},          {"..a\\b", false},          {"a..\\b", false},  {"dir/sub\\a.txt", false},
    };
    for (const auto& [path, leaves] : cases)
        EXPECT_EQ(PathLeavesFolder(path), leaves) << path;
}
#else
TEST(Paths, CopyFileAtomicallyReplacesWholeAndKeepsTheTime)
{
    TScratchFolder scratch;
    WriteTextFile(scratch / "new.txt", "new content");
    ASSERT_EQ(RunProgram({"/usr/bin/touch", "-d", "2002-03-04 05:06:07", HostPath(scratch / "new.txt")}), 0);
    WriteTextFile(scratch / "outside.txt", "outside");
    ASSERT_EQ(symlink((scratch / "outside.txt").c_str(), (scratch / "link.txt").c_str()), 0);

    ASSERT_TRUE(CopyFileAtomically(scratch / "new.txt", scratch / "link.txt"));
    EXPECT_EQ(ReadWholeFile(scratch / "outside.txt"), "outside") << "a link at the target is replaced, not written through";
    EXPECT_EQ(ReadWholeFile(scratch / "link.txt"), "new content");
    struct stat copied, source;
    stat((scratch / "link.txt").c_str(), &copied);
    stat((scratch / "new.txt").c_str(), &source);
    EXPECT_EQ(copied.st_mtim.tv_sec, source.st_mtim.tv_sec);

    // A failed copy leaves the target as it was and no temporary file behind.
    WriteTextFile(scratch / "keep.txt", "keep");
    EXPECT_FALSE(CopyFileAtomically(scratch / "missing.txt", scratch / "keep.txt"));
    EXPECT_EQ(ReadWholeFile(scratch / "keep.txt"), "keep");
    EXPECT_EQ(ListFiles(scratch.Path()), (std::vector<std::string>{"keep.txt", "link.txt", "new.txt", "outside.txt"}));
}

TEST(Paths, EntryExistsCountsDanglingLinksButNotFolders)
{
    TScratchFolder scratch;
    ASSERT_EQ(symlink((scratch / "nowhere").c_str(), (scratch / "dangling").c_str()), 0);
    ForceDirectories(scratch / "folder");
    EXPECT_TRUE(EntryExists(scratch / "dangling"));
    EXPECT_FALSE(FileExists(scratch / "dangling"));
    EXPECT_FALSE(EntryExists(scratch / "folder"));
}
#endif

}  // namespace
