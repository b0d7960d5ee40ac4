#include "extract/WorkFolder.h"
#include "platform/DynamicLibrary.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

namespace {

TEST(DynamicLibrary, LoadsFromAFolderMountedNoexec)
{
    TScratchFolder scratch;
    const std::string folder = scratch / "noexec";
    WriteTextFile(folder + "/.keep", "");
    if (mount("tmpfs", folder.c_str(), "tmpfs", MS_NOEXEC | MS_NOSUID | MS_NODEV, "size=16m") != 0)
        GTEST_SKIP() << "this machine does not allow mounting a noexec tmpfs here (needs root): not tested";
    SaveResourceToFile("7z_dll", "FILE", folder + "/7z.dll");

    TModuleHandle module = LoadModule(folder + "/7z.dll");
    EXPECT_NE(module, nullptr) << LastModuleError();
    EXPECT_NE(GetModuleSymbol(module, "CreateObject"), nullptr);
    FreeModule(module);
    umount2(folder.c_str(), MNT_DETACH);
}

TEST(DynamicLibrary, NotALibraryFailsBothWays)
{
    TScratchFolder scratch;
    WriteTextFile(scratch / "fake.so", "not a library at all");
    EXPECT_EQ(LoadModule(scratch / "fake.so"), nullptr);
    EXPECT_FALSE(LastModuleError().empty());
    EXPECT_EQ(LoadModule(scratch / "missing.so"), nullptr);
}

}  // namespace
