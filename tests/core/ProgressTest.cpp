#include "extract/Progress.h"
#include "extract/RunState.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressText, SecondsToText)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "00:00:00"},   {-5, "00:00:00"},  {59, "00:00:59"},     {61, "00:01:01"},
        {3599, "00:59:59"}, {3661, "01:01:01"}, {86400, "24:00:00"}, {360000, "100:00:00"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(SecondsToText(seconds), text) << seconds;
}

TEST(ProgressText, SizeToText)
{
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0 B"},
        {1018, "1018 B"},
        {1019, "1 KB"},
        {1536, "1.5 KB"},
        {1000000, "976.56 KB"},
        {1048576, "1 MB"},
        {123456789, "117.74 MB"},
        {1068289229, "1018.8 MB"},
        {1073741824, "1 GB"},
        {5000000000, "4.66 GB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(SizeToText(bytes), text) << bytes;
    EXPECT_EQ(SizeToText(1536, ","), "1,5 KB");
}

class ProgressTimer : public ::testing::Test {
protected:
    void SetUp() override { ResetRunState(); }
    void TearDown() override { ResetRunState(); }
    int32_t Elapsed = 0;
};

TEST_F(ProgressTimer, FirstTickWithNoTotalOnlyCountsTime)
{
    const TProgressTick tick = TimerProcessTick(Elapsed);
    EXPECT_EQ(tick.TimeUsed, "00:00:01");
    EXPECT_FALSE(tick.Percent || tick.Speed || tick.TimeLeft);
}

TEST_F(ProgressTimer, CopyStageHalfDoneAfterTenSeconds)
{
    g_nTotalSize = 100 * 1024 * 1024;
    g_nCurrentSize = 50 * 1024 * 1024;
    Elapsed = 9;
    const TProgressTick tick = TimerProcessTick(Elapsed);
    EXPECT_EQ(tick.Percent, 10);
    EXPECT_EQ(tick.Speed, "5 MB/s");
    // (total - done) div (done div 10) + 30 = 10 + 30 seconds.
    EXPECT_EQ(tick.TimeLeft, "00:00:40");
}

TEST_F(ProgressTimer, ExtractionEndsAt100DirectOr80Staged)
{
    SetFlag(g_bExtracting, true);
    g_nTotalSize = 1000;
    g_nCurrentSize = 1000;
    EXPECT_EQ(TimerProcessTick(Elapsed).Percent, 100);
    SetFlag(g_bExtractToTemp, true);
    const TProgressTick staged = TimerProcessTick(Elapsed);
    EXPECT_EQ(staged.Percent, 80);
    EXPECT_EQ(staged.TimeLeft, "00:00:30") << "nothing left but the 30 s for placement";
    g_nCurrentSize = 5000;  // more done than the total is capped
    EXPECT_EQ(TimerProcessTick(Elapsed).Percent, 80);
}

TEST_F(ProgressTimer, PlacementOfFourFilesAfterTheFirst)
{
    SetFlag(g_bExtracting, true);
    SetFlag(g_bPlacing, true);
    g_nTotalSize = 1000;
    g_nFileCount = 4;
    g_nFilesPlaced = 0;
    const TProgressTick none = TimerProcessTick(Elapsed);
    EXPECT_EQ(none.Percent, 80);
    EXPECT_EQ(none.TimeLeft, "00:00:10");
    g_nFilesPlaced = 1;
    const TProgressTick one = TimerProcessTick(Elapsed);
    EXPECT_EQ(one.Percent, 85);
    EXPECT_FALSE(one.Speed) << "the speed label does not change in placement";
}

TEST_F(ProgressTimer, StandStillsAndCancel)
{
    g_nTotalSize = 1000;
    g_nCurrentSize = 500;
    SetFlag(g_bStageDone, true);
    const TProgressTick between = TimerProcessTick(Elapsed);
    EXPECT_EQ(between.TimeUsed, "00:00:01");
    EXPECT_FALSE(between.Percent);
    SetFlag(g_bCancel, true);
    const TProgressTick cancelled = TimerProcessTick(Elapsed);
    EXPECT_TRUE(cancelled.StopTimer);
    EXPECT_EQ(Elapsed, 1) << "not even the elapsed time moves after a cancel";
}

}  // namespace
