#include "extract/WorkFolder.h"
#include "platform/DynamicLibrary.h"
#include "support/TestSupport.h"
#include "support/TmpfsMount.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(DynamicLibrary, LoadsFromAFolderMountedNoexec)
{
    TScratchFolder scratch;
    const std::string folder = scratch / "noexec";
    TTmpfsMount noexec(folder, "size=16m,noexec");
    if (!noexec.Mounted())
        GTEST_SKIP() << "this machine does not allow mounting a noexec tmpfs here (needs root): not tested";
    SaveResourceToFile("7z_dll", "FILE", folder + "/7z.dll");

    TModuleHandle module = LoadModule(folder + "/7z.dll");
    EXPECT_NE(module, nullptr) << LastModuleError();
    EXPECT_NE(GetModuleSymbol(module, "CreateObject"), nullptr);
    FreeModule(module);
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
