#include "extract/Payload.h"
#include "extract/RunState.h"
#include "platform/Error.h"
#include "platform/PauseGate.h"
#include "support/TestSupport.h"
#ifndef _WIN32
#include "support/SyscallRefusal.h"
#include "support/TmpfsMount.h"
#endif

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>
#ifndef _WIN32
#include <sys/syscall.h>
#endif

namespace {

class PayloadCopy : public ::testing::Test {
protected:
    void SetUp() override { ResetRunState(); }
    void TearDown() override { ResetRunState(); }

    // An executable whose payload is `payload`, with a stub that differs from it.
    std::string MakeExe(const std::vector<char>& payload)
    {
        WriteBytes(Scratch / "payload.bin", payload);
        MakeProtectedExecutable(Scratch / "app.exe", Scratch / "payload.bin");
        return Scratch / "app.exe";
    }

    TScratchFolder Scratch;
};

// How the kernel answers the copy: 0, it copies between the two files;
// ENOSYS, it has no such call and the blocks go through the buffer. Windows
// has only the buffer.
#ifdef _WIN32
const auto KERNELS = ::testing::Values(0);
#else
const auto KERNELS = ::testing::Values(0, ENOSYS);
#endif

// Runs `body` as the kernel `refusal` would; false when that cannot be arranged here.
bool RunAsKernel(int refusal, const std::function<void()>& body)
{
    if (refusal == 0) {
        body();
        return true;
    }
#ifdef _WIN32
    return false;
#else
    return RunWithSyscallRefused(SYS_copy_file_range, refusal, body);
#endif
}

#define SKIP_UNLESS_RAN(ran) \
    if (!(ran))              \
        GTEST_SKIP() << "this kernel takes no seccomp filter: the copy through the buffer is not tested";

class PayloadSizes : public PayloadCopy, public ::testing::WithParamInterface<std::tuple<size_t, int>> {};

TEST_P(PayloadSizes, CopyEqualsTheTailAndCountersEndEqual)
{
    const auto [size, refusal] = GetParam();
    const std::vector<char> payload = RandomBytes(size, 7);
    const std::string exe = MakeExe(payload);
    std::string payloadFile;
    int64_t totalSeenByShow = -1;
    SKIP_UNLESS_RAN(RunAsKernel(refusal, [&] {
        CopyPayload(exe, Scratch.Path(), payloadFile, [&] { totalSeenByShow = g_nTotalSize; });
    }));

    EXPECT_EQ(payloadFile, Scratch / "tmp.dat");
    EXPECT_EQ(ReadWholeFile(payloadFile), std::string(payload.begin(), payload.end()));
    EXPECT_EQ(totalSeenByShow, static_cast<int64_t>(size));
    EXPECT_EQ(g_nTotalSize.load(), static_cast<int64_t>(size));
    EXPECT_EQ(g_nCurrentSize.load(), static_cast<int64_t>(size));
    EXPECT_TRUE(IsSet(g_bStageDone));
    EXPECT_FALSE(IsSet(g_bExtracting));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PayloadSizes,
                         ::testing::Combine(::testing::Values(0, 100, 61440, 61441, 3 * 1024 * 1024 + 17),
                                            KERNELS));

class PayloadKernels : public PayloadCopy, public ::testing::WithParamInterface<int> {};

TEST_P(PayloadKernels, ExistingLongerCopyIsTruncated)
{
    WriteBytes(Scratch / "tmp.dat", RandomBytes(500000, 1));
    const std::vector<char> payload = RandomBytes(1000, 2);
    const std::string exe = MakeExe(payload);
    std::string payloadFile;
    SKIP_UNLESS_RAN(RunAsKernel(GetParam(), [&] { CopyPayload(exe, Scratch.Path(), payloadFile, nullptr); }));
    EXPECT_EQ(ReadWholeFile(payloadFile), std::string(payload.begin(), payload.end()));
}

#ifndef _WIN32
// The executable and the work folder on one small file system, so that the
// kernel, when it copies, is the one to meet the full disk.
TEST_P(PayloadKernels, FullDiskIsAWriteErrorAboutTheCopy)
{
    TTmpfsMount small(Scratch / "small", "size=4m");
    if (!small.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root): this fault is not tested";
    const std::string folder = Scratch / "small/";
    WriteBytes(Scratch / "payload.bin", RandomBytes(2 * 1024 * 1024, 6));
    MakeProtectedExecutable(folder + "app.exe", Scratch / "payload.bin");
    std::string payloadFile;
    std::string message;
    TFailure failure;
    SKIP_UNLESS_RAN(RunAsKernel(GetParam(), [&] {
        try {
            CopyPayload(folder + "app.exe", folder, payloadFile, nullptr);
        } catch (const EVarnholdError& error) {
            message = error.what();
            failure = error.Failure();
        }
    }));
    EXPECT_EQ(message, "Cannot write file \"" + folder + "tmp.dat\". No space left on device");
    EXPECT_EQ(failure.Path, folder + "tmp.dat");
    EXPECT_EQ(failure.Reason, TSystemReason::srNoSpace);
    EXPECT_FALSE(IsSet(g_bStageDone));
}
#endif

struct TCancelCase {
    size_t Size;
    int64_t Left;  // bytes in tmp.dat when the flag is up before the first block
};

class PayloadCancel : public PayloadCopy, public ::testing::WithParamInterface<std::tuple<TCancelCase, int>> {};

TEST_P(PayloadCancel, CancelStopsAfterTheCurrentBlock)
{
    const auto [row, refusal] = GetParam();
    const std::string exe = MakeExe(RandomBytes(row.Size, 3));
    std::string payloadFile;
    // The flag goes up while the total is shown, before the first block.
    SKIP_UNLESS_RAN(RunAsKernel(refusal, [&] {
        CopyPayload(exe, Scratch.Path(), payloadFile, [] { SetFlag(g_bCancel, true); });
    }));
    EXPECT_EQ(static_cast<int64_t>(ReadWholeFile(payloadFile).size()), row.Left);
    EXPECT_EQ(g_nCurrentSize.load(), row.Left);
    EXPECT_EQ(g_nTotalSize.load(), static_cast<int64_t>(row.Size));
    EXPECT_TRUE(IsSet(g_bStageDone));
}

INSTANTIATE_TEST_SUITE_P(Blocks, PayloadCancel,
                         ::testing::Combine(::testing::Values(TCancelCase{100, 100},
                                                              TCancelCase{61440, 61440},
                                                              TCancelCase{61441, 61440},
                                                              TCancelCase{10 * COPY_CHUNK_SIZE, COPY_CHUNK_SIZE}),
                                            KERNELS));

INSTANTIATE_TEST_SUITE_P(Kernels, PayloadKernels, KERNELS);

TEST_F(PayloadCopy, PauseFreezesTheCopyUntilResumed)
{
    const std::string exe = MakeExe(RandomBytes(20 * COPY_CHUNK_SIZE, 4));
    std::string payloadFile;
    WorkerPauseGate().Pause();
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        CopyPayload(exe, Scratch.Path(), payloadFile, nullptr);
        finished = true;
    });
    // The worker stops at the gate after its first block and stays there.
    while (g_nCurrentSize.load() == 0)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(g_nCurrentSize.load(), COPY_CHUNK_SIZE);
    EXPECT_FALSE(finished.load());
    WorkerPauseGate().Resume();
    worker.join();
    EXPECT_EQ(g_nCurrentSize.load(), 20 * COPY_CHUNK_SIZE);
}

TEST_F(PayloadCopy, ShortOrMissingExecutableRaisesAClearError)
{
    WriteBytes(Scratch / "short.exe", RandomBytes(PAYLOAD_OFFSET - 1, 5));
    std::string payloadFile;
    try {
        CopyPayload(Scratch / "short.exe", Scratch.Path(), payloadFile, nullptr);
        FAIL() << "a short executable was accepted";
    } catch (const EVarnholdError& error) {
        EXPECT_NE(std::string(error.what()).find("is not a protected executable"), std::string::npos);
    }
    try {
        CopyPayload(Scratch / "missing.exe", Scratch.Path(), payloadFile, nullptr);
        FAIL() << "a missing executable was accepted";
    } catch (const EVarnholdError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + (Scratch / "missing.exe") + "\". " + SystemWords("No such file or directory", 2));
    }
}

}  // namespace
