// The daemon's own reading of the schedules archive against the hand-written
// golden file and the monitor's reading of what the daemon writes back.

#include "daemon/JobArchive.h"

#include "monitor/schedules/ScheduleArchive.h"
#include "support/QtPrinters.h"
#include "support/SandboxFixture.h"

#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

class DaemonArchiveTest : public SandboxFixture
{
protected:
    QString archive() const { return root() + "/Schedules.archive"; }
};

TEST_F(DaemonArchiveTest, ReadsTheGoldenArchiveAndRewritesOnlyWhatItChanges)
{
    ASSERT_TRUE(QFile::copy(
        qEnvironmentVariable("TX_SOURCE_DIR") + "/tests/fixtures/schedules/golden-schedules.archive", archive()));
    const auto monitorBefore = ScheduleArchive::read(archive());
    ASSERT_TRUE(monitorBefore);

    const auto jobs = JobArchive::read(archive());
    ASSERT_TRUE(jobs);
    ASSERT_EQ(jobs->size(), 2);
    const ArchivedJob &ann = jobs->at(0);
    EXPECT_TRUE(ann.isSchedule());
    EXPECT_EQ(ann.username(), "ann");
    EXPECT_EQ(ann.frequency(), 5);
    EXPECT_EQ(ann.scheduleTime(), QDateTime(QDate(2026, 1, 5), QTime(9, 0), QTimeZone::utc()));
    EXPECT_EQ(ann.selectedDays(), (QVariantList{"1", "3"}));
    EXPECT_TRUE(ann.displayDesktopNotification());
    EXPECT_EQ(ann.processReferenceFile(), "BackupSet.plist");
    EXPECT_EQ(jobs->at(1).status(), 3);
    EXPECT_EQ(jobs->at(1).scheduleTime(), QDateTime(QDate(2026, 1, 6), QTime(22, 30), QTimeZone::utc()));

    // The daemon runs bob's job: it gets an identity and a status; nothing else moves.
    ASSERT_TRUE(JobArchive::update(archive(), [](QList<ArchivedJob> &all) {
        all[1].ensureIdentity();
        all[1].setStatus(1);
        return true;
    }));
    const auto monitorAfter = ScheduleArchive::read(archive());
    ASSERT_TRUE(monitorAfter);
    EXPECT_EQ(monitorAfter->records[0].toArchivedObject(), monitorBefore->records[0].toArchivedObject());
    EXPECT_EQ(monitorAfter->records[1].statusString(), "In progress");
    EXPECT_FALSE(monitorAfter->records[1].scheduleIdentifier().isEmpty());
    EXPECT_EQ(monitorAfter->records[1].scheduleTime(), monitorBefore->records[1].scheduleTime());
}

TEST_F(DaemonArchiveTest, DamagedArchiveIsLeftAlone)
{
    writeText(archive(), "not an archive");
    QString error;
    EXPECT_FALSE(JobArchive::read(archive(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(JobArchive::update(
        archive(), [](QList<ArchivedJob> &) { return true; }, &error));
    EXPECT_EQ(readText(archive()), "not an archive");
}

}  // namespace
