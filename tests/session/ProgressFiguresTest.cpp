#include "session/progress/ProgressFigures.h"
#include "common/transfer/ProgressReport.h"

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

TEST(ProgressFiguresTest, NumberFieldsReadAsTheGeneralConversionReadsThem)
{
    const char *const fields[] = {"0",
                                  "100",
                                  "0012",
                                  "1536",
                                  "999999999999999",
                                  "1234567890123456789",
                                  "12.5",
                                  "1e3",
                                  "-5",
                                  " 7",
                                  "",
                                  "abc",
                                  "12a",
                                  "0.1",
                                  "12.50",
                                  "-3.25",
                                  ".5",
                                  "5.",
                                  "-",
                                  "1.2.3",
                                  "--5",
                                  "+4",
                                  "inf",
                                  "1,5",
                                  "7 ",
                                  "123456789012345678901234567890.5",
                                  "1234567890123456789012345678901234567890"};
    for (const char *field : fields)
        EXPECT_EQ(ProgressFigures::fieldNumber(QString(field)), QString(field).toDouble()) << field;
}

TEST(ProgressFiguresTest, AReportKeepsItsFieldsAndListsOnlyThoseSet)
{
    ProgressReport report;
    EXPECT_TRUE(report.toMap().isEmpty());
    report.set(ProgressReport::Filename, "/a");
    report.set(ProgressReport::VersionNumber, "1");
    report.set(ProgressReport::FileTransferedStatus, "In Progress");
    report.set(ProgressReport::FileTransferedStatus, "Done");
    const QVariantMap first = report.toMap();
    EXPECT_EQ(first, (QVariantMap{{"filename", "/a"}, {"VersionNumber", "1"}, {"fileTransferedStatus", "Done"}}));

    // The next line's report: what it does not set stays as it was.
    report.set(ProgressReport::Filename, "/b");
    report.set(ProgressReport::TansferMode, "[Sync File]");
    const QVariantMap second = report.toMap();
    EXPECT_EQ(second, (QVariantMap{{"filename", "/b"},
                                   {"VersionNumber", "1"},
                                   {"fileTransferedStatus", "Done"},
                                   {"tansferMode", "[Sync File]"}}));
    EXPECT_EQ(first.value("filename"), "/a") << "a report sent is not changed by later lines";
    EXPECT_TRUE(report.value(ProgressReport::Speed).isNull());
}
