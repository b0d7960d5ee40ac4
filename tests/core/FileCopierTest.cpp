#include "platform/Error.h"
#include "platform/FileCopier.h"
#include "support/SyscallRefusal.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/syscall.h>

namespace {

struct TCopierCase {
    const char* Name;
    int Refusal;  // how the kernel answers copy_file_range; 0: it copies
    bool InKernel;
};

class FileCopier : public ::testing::TestWithParam<TCopierCase> {
protected:
    // Runs `body` as the row's kernel would; false when that cannot be arranged here.
    bool RunAsKernel(const std::function<void()>& body)
    {
        if (GetParam().Refusal == 0) {
            body();
            return true;
        }
        return RunWithSyscallRefused(SYS_copy_file_range, GetParam().Refusal, body);
    }

    TScratchFolder Scratch;
};

TEST_P(FileCopier, BlocksGoFromPositionToPositionAndAnEarlyEndIsAReadError)
{
    const std::vector<char> bytes = RandomBytes(200000, 11);
    WriteBytes(Scratch / "source.bin", bytes);
    WriteBytes(Scratch / "target.bin", RandomBytes(300000, 12));  // longer than the copy: emptied
    const bool ran = RunAsKernel([&] {
        TFileStream source(Scratch / "source.bin", TFileMode::fmOpenRead);
        TFileStream target(Scratch / "target.bin", TFileMode::fmCreate);
        source.Seek(1000, soBeginning);
        char buffer[61440];
        TFileCopier copier(source, target, buffer);
        for (const int64_t block : {61440, 61440, 1, 61440, 14679})
            copier.CopyBlock(block);
        EXPECT_EQ(copier.InKernel(), GetParam().InKernel);
        EXPECT_EQ(source.Seek(0, soCurrent), 200000);
        EXPECT_EQ(target.Seek(0, soCurrent), 199000);
        EXPECT_TRUE(ReadWholeFile(Scratch / "target.bin") == std::string(bytes.begin() + 1000, bytes.end()))
            << "the target does not hold the source's bytes from its position on";
        try {
            source.Seek(-10, soEnd);
            copier.CopyBlock(11);
            ADD_FAILURE() << "a block past the end of the source was accepted";
        } catch (const EVarnholdError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Cannot read file \"" + (Scratch / "source.bin") + "\". The file ends too early");
        }
    });
    if (!ran)
        GTEST_SKIP() << "this kernel takes no seccomp filter: the refusal is not tested";
}

INSTANTIATE_TEST_SUITE_P(Kernels, FileCopier,
                         ::testing::Values(TCopierCase{"CopiesInKernel", 0, true},
                                           TCopierCase{"NoSuchCall", ENOSYS, false},
                                           TCopierCase{"OtherFileSystem", EXDEV, false},
                                           TCopierCase{"NotSupported", EOPNOTSUPP, false},
                                           TCopierCase{"Invalid", EINVAL, false},
                                           TCopierCase{"FaultInTheCall", EIO, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
