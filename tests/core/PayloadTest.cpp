#include "extract/Payload.h"
#include "extract/RunState.h"
#include "platform/Error.h"
#include "platform/PauseGate.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

class PayloadSizes : public PayloadCopy, public ::testing::WithParamInterface<size_t> {};

TEST_P(PayloadSizes, CopyEqualsTheTailAndCountersEndEqual)
{
    const std::vector<char> payload = RandomBytes(GetParam(), 7);
    const std::string exe = MakeExe(payload);
    std::string payloadFile;
    int64_t totalSeenByShow = -1;
    CopyPayload(exe, Scratch.Path(), payloadFile, [&] { totalSeenByShow = g_nTotalSize; });

    EXPECT_EQ(payloadFile, Scratch / "tmp.dat");
    EXPECT_EQ(ReadWholeFile(payloadFile), std::string(payload.begin(), payload.end()));
    EXPECT_EQ(totalSeenByShow, static_cast<int64_t>(GetParam()));
    EXPECT_EQ(g_nTotalSize.load(), static_cast<int64_t>(GetParam()));
    EXPECT_EQ(g_nCurrentSize.load(), static_cast<int64_t>(GetParam()));
    EXPECT_TRUE(IsSet(g_bStageDone));
    EXPECT_FALSE(IsSet(g_bExtracting));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PayloadSizes,
                         ::testing::Values(0, 100, 61440, 61441, 3 * 1024 * 1024 + 17));

TEST_F(PayloadCopy, ExistingLongerCopyIsTruncated)
{
    WriteBytes(Scratch / "tmp.dat", RandomBytes(500000, 1));
    const std::vector<char> payload = RandomBytes(1000, 2);
    std::string payloadFile;
    CopyPayload(MakeExe(payload), Scratch.Path(), payloadFile, nullptr);
    EXPECT_EQ(ReadWholeFile(payloadFile), std::string(payload.begin(), payload.end()));
}

TEST_F(PayloadCopy, CancelStopsAfterTheCurrentBlock)
{
    const std::string exe = MakeExe(RandomBytes(10 * COPY_CHUNK_SIZE, 3));
    std::string payloadFile;
    // The flag goes up while the total is shown, before the first block.
    CopyPayload(exe, Scratch.Path(), payloadFile, [] { SetFlag(g_bCancel, true); });
    EXPECT_EQ(ReadWholeFile(payloadFile).size(), static_cast<size_t>(COPY_CHUNK_SIZE));
    EXPECT_EQ(g_nCurrentSize.load(), COPY_CHUNK_SIZE);
    EXPECT_TRUE(IsSet(g_bStageDone));
}

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
