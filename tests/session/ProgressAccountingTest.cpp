#include "session/progress/ProgressAccounting.h"

#include "common/transfer/FileTransferData.h"

#include <gtest/gtest.h>

namespace {

// A completion line of a file of `size` bytes; `copied`: the run's bytes copied so far.
FileTransferData completed(const QString &name, double size, double copied, const QString &type = "FULL")
{
    FileTransferData line;
    line.setFname(name);
    line.setSize(QString::number(size));
    line.setTottrf_sz(QString::number(copied));
    line.setPer("100");
    line.setTrf_type(type);
    line.setRate_trf("1.00 MB/s");
    return line;
}

}  // namespace

// The figures shown while a backup runs: a rate reads as a rate, and once
// every byte is done there is no time left to estimate.
TEST(ProgressAccountingTest, RateReadsAsARateAndNothingLeftHasNoEstimate)
{
    ProgressAccounting accounting;
    accounting.reset(false, true);
    ProgressReport report;
    std::optional<ProgressReport> sent = accounting.readLine(completed("/a", 600, 600), 0, report, 1000, {});
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->value(ProgressReport::Percentage), "60");
    EXPECT_TRUE(sent->value(ProgressReport::TransferSpeed).endsWith("/s)"))
        << sent->value(ProgressReport::TransferSpeed).toStdString();
    EXPECT_TRUE(sent->value(ProgressReport::Speed).endsWith("/s"));
    EXPECT_FALSE(sent->value(ProgressReport::EstimatedTime).isEmpty());

    // The second file is already on the drive: its bytes count as done when reported.
    sent = accounting.readLine(completed("/b", 400, 600, "FILE IN SYNC"), 0, report, 1000, {});
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->value(ProgressReport::Percentage), "100");
    EXPECT_TRUE(sent->has(ProgressReport::EstimatedTime));
    EXPECT_EQ(sent->value(ProgressReport::EstimatedTime), "");
    EXPECT_EQ(accounting.successCount(), 1);
    EXPECT_EQ(accounting.incSuccessCount(), 1);
}
