#include "session/progress/ProgressFigures.h"

#include <gtest/gtest.h>

// Transfer modes, the average speed and the time left.

TEST(ProgressFiguresTest, TransferModeByPrefix)
{
    EXPECT_EQ(ProgressFigures::transferMode("FULL", false), "[Full Backup]");
    EXPECT_EQ(ProgressFigures::transferMode("Full Backup x", true), "[Full Restore]");
    EXPECT_EQ(ProgressFigures::transferMode("INCREMENTAL", true), "[Incremental Restore]");
    EXPECT_EQ(ProgressFigures::transferMode("FILE IN SYNC", false), "[Sync File]");
    EXPECT_EQ(ProgressFigures::transferMode("", false), "[Sync File]");
}

TEST(ProgressFiguresTest, AverageSpeedOverTheSamplesKept)
{
    TransferSpeedHistory history;
    EXPECT_EQ(history.calulateAverageTransferSpeed(), 51200.0) << "400 Kb/s before any rate";
    history.add(" 1.00 MB/s\n");
    EXPECT_EQ(history.calulateAverageTransferSpeed(), 1048576.0) << "one sample is its own average";
    history.add("1024.00 kB/s");
    EXPECT_EQ(history.calulateAverageTransferSpeed(), 1048576.0);
    for (int i = 0; i < TransferSpeedHistory::kSamples; ++i)
        history.add("2.00 kB/s");
    EXPECT_EQ(history.calulateAverageTransferSpeed(), 2048.0) << "only the last ten count";
}

TEST(ProgressFiguresTest, EstimatedTimeAtThePaceSoFar)
{
    EXPECT_EQ(ProgressFigures::calculateEstimatedTime(1000, 0, 10), 5) << "nothing done yet";
    EXPECT_EQ(ProgressFigures::calculateEstimatedTime(300, 100, 10), 30);
    EXPECT_EQ(ProgressFigures::calculateEstimatedTime(0, 100, 10), 5);
    EXPECT_EQ(ProgressFigures::calculateEstimatedTime(50000.0 * 100, 100, 1), 50000)
        << "a long estimate is shown as computed, not made up";
}
