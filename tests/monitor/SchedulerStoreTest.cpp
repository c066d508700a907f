// The schedule store against the archive the daemon shares: the save rule, the
// lock-protected re-read, deletes by identity, destinations and the state file.

#include "monitor/schedules/ScheduleArchive.h"
#include "monitor/schedules/TarnixSchedulerController.h"

#include "support/SandboxFixture.h"

#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Saved = TarnixSchedulerController::Saved;

TarnixScheduleItem job(const QString &user, int status = 0, const QString &destination = "MyTarnix")
{
    TarnixScheduleItem record;
    record.setUsername(user);
    record.setTarnixUserName(user);
    record.setStatus(status);
    record.setDestination(destination);
    return record;
}

ino_t inodeOf(const QString &path)
{
    struct stat info
    {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

class SchedulerStoreTest : public SandboxFixture
{
protected:
    TarnixSchedulerController::Paths paths() const
    {
        return {root() + "/user/Schedules.archive", root() + "/user/SchedulerState", root() + "/user/MultipleMac.plist",
                "MyTarnix"};
    }

    // Another writer (the daemon) replaces the archive.
    void writeArchive(const QList<TarnixScheduleItem> &records) const
    {
        ASSERT_TRUE(ScheduleArchive::write(paths().archive, {records, {}, {}}));
    }
    QList<TarnixScheduleItem> archived() const
    {
        const auto contents = ScheduleArchive::read(paths().archive);
        return contents ? contents->records : QList<TarnixScheduleItem>();
    }
    QStringList users(const QList<TarnixScheduleItem> &records) const
    {
        QStringList names;
        for (const auto &r : records)
            names << r.username() + ":" + r.destination() + ":" + QString::number(r.status());
        return names;
    }
};

TEST_F(SchedulerStoreTest, EveryChangeIsHeldBackAndReportedWhileAJobRuns)
{
    writeArchive({job("ann", TarnixScheduleItem::InProgress), job("bob")});
    const QByteArray before = readText(paths().archive);
    TarnixSchedulerController store(paths());
    const auto outcome = store.tarnixaddSchedulerDetails(job("carl"));
    EXPECT_EQ(outcome.result, Saved::HeldBack);
    EXPECT_FALSE(outcome.message.isEmpty());
    EXPECT_EQ(store.tarnixDeleteSchedulerDeatils({store.configuredSchedules()[1].identityKey()}).result,
              Saved::HeldBack);
    EXPECT_EQ(readText(paths().archive), before);
    EXPECT_TRUE(store.isScheduleBackupInProgress());
}

TEST_F(SchedulerStoreTest, AChangeIsMadeOnTheFileAsTheDaemonLeftIt)
{
    writeArchive({job("ann"), job("bob")});
    TarnixSchedulerController store(paths());
    // Meanwhile the daemon ran ann's job and put a job of its own reading in front.
    QList<TarnixScheduleItem> daemonView = store.configuredSchedules();
    daemonView[0].setStatus(TarnixScheduleItem::Completed);
    daemonView.prepend(job("dora"));
    writeArchive(daemonView);

    // Delete names bob's record: row 1 of the list the user saw now holds ann's.
    ASSERT_TRUE(store.tarnixDeleteSchedulerDeatils({store.configuredSchedules()[1].identityKey()}).saved());
    EXPECT_EQ(users(archived()), (QStringList{"dora:MyTarnix:0", "ann:MyTarnix:3"}));
    ASSERT_TRUE(store.tarnixaddSchedulerDetails(job("carl")).saved());
    EXPECT_EQ(users(archived()), (QStringList{"dora:MyTarnix:0", "ann:MyTarnix:3", "carl:MyTarnix:0"}));
    EXPECT_EQ(users(store.configuredSchedules()), users(archived()));

    // A plain save of the working list keeps the daemon's status.
    writeArchive([&] {
        auto r = archived();
        r[2].setStatus(TarnixScheduleItem::Completed);
        return r;
    }());
    ASSERT_TRUE(store.saveSchedulerDetails().saved());
    EXPECT_EQ(archived()[2].status(), TarnixScheduleItem::Completed);
}

TEST_F(SchedulerStoreTest, ARecordThatFailsItsChecksIsNotStored)
{
    writeArchive({job("ann")});
    const QByteArray before = readText(paths().archive);
    TarnixSchedulerController store(paths());
    TarnixScheduleItem bad = job("bob");
    bad.setFrequency(42);
    const auto outcome = store.tarnixaddSchedulerDetails(bad);
    EXPECT_EQ(outcome.result, Saved::Failed);
    EXPECT_EQ(outcome.message, "The job's frequency 42 is unknown.");
    EXPECT_EQ(store.tarnixUpdateSchedule(store.configuredSchedules()[0], bad).result, Saved::Failed);
    EXPECT_EQ(readText(paths().archive), before);
}

TEST_F(SchedulerStoreTest, DamagedArchiveIsNeitherReadNorOverwritten)
{
    writeText(paths().archive, "<plist><dict><key>$top</key>");
    TarnixSchedulerController store(paths());
    EXPECT_TRUE(store.configuredSchedules().isEmpty());
    EXPECT_FALSE(store.archiveError().isEmpty());
    const auto outcome = store.tarnixaddSchedulerDetails(job("ann"));
    EXPECT_EQ(outcome.result, Saved::Failed);
    EXPECT_TRUE(outcome.message.contains(paths().archive)) << outcome.message.toStdString();
    EXPECT_EQ(readText(paths().archive), "<plist><dict><key>$top</key>");
}

TEST_F(SchedulerStoreTest, MissingArchiveIsAnEmptyListAndTheFirstSaveCreatesIt)
{
    TarnixSchedulerController store(paths());
    EXPECT_TRUE(store.archiveError().isEmpty());
    ASSERT_TRUE(store.tarnixaddSchedulerDetails(job("ann")).saved());
    EXPECT_EQ(users(archived()), QStringList{"ann:MyTarnix:0"});
}

TEST_F(SchedulerStoreTest, DeleteResetsTheStateFileUnlessItReadsIdle)
{
    struct Case
    {
        std::optional<QString> state;
        QString after;
    };
    for (const Case &c : {Case{"2", "0"}, Case{std::nullopt, "0"}, Case{"0", "0"}}) {
        writeArchive({job("ann"), job("bob")});
        QFile::remove(paths().schedulerState);
        if (c.state)
            writeText(paths().schedulerState, c.state->toUtf8());
        TarnixSchedulerController store(paths());
        ASSERT_TRUE(store.deleteSchedules({store.configuredSchedules()[0].identityKey()}).saved());
        EXPECT_EQ(store.schedulerState(), c.after);
        EXPECT_EQ(users(archived()), QStringList{"bob:MyTarnix:0"});
    }
    // A running job is not deleted, and a pending stop request stays.
    writeArchive({job("ann", TarnixScheduleItem::InProgress)});
    writeText(paths().schedulerState, "3");
    TarnixSchedulerController store(paths());
    const auto outcome = store.deleteSchedules({store.configuredSchedules()[0].identityKey()});
    EXPECT_EQ(outcome.message, "You cannot delete a scheduled job which is in progress.");
    EXPECT_EQ(store.schedulerState(), "3");
}

TEST_F(SchedulerStoreTest, DestinationsFollowTheMultipleComputerState)
{
    writeArchive({job("ann", 0, "Old"), job("bob", 0, "Old"), job("carl", 0, "MyTarnix")});
    TarnixSchedulerController store(paths());
    store.ReloadSchedules();
    EXPECT_EQ(users(archived()), (QStringList{"ann:MyTarnix:0", "bob:MyTarnix:0", "carl:MyTarnix:0"}))
        << "without the state plist every job gets the default label";

    ASSERT_TRUE(PropertyList::write(
        paths().multipleComputers,
        QVariantMap{{"ann", QVariantMap{{"EnableMultipleMacBackupKey", "1"}, {"MultipleMacFolderName", "Studio"}}},
                    {"bob", QVariantMap{{"EnableMultipleMacBackupKey", "1"}, {"MultipleMacFolderName", ""}}}}));
    store.ReloadSchedules();
    EXPECT_EQ(users(archived()), (QStringList{"ann:Studio:0", "bob:MyTarnix:0", "carl:MyTarnix:0"}));

    // Nothing to change: nothing is written.
    const ino_t written = inodeOf(paths().archive);
    store.ReloadSchedules();
    EXPECT_EQ(inodeOf(paths().archive), written) << "an atomic replace would give the file a new inode";

    // A running job keeps its destination and holds every save back.
    writeArchive({job("ann", TarnixScheduleItem::InProgress, "Old"), job("bob", 0, "Old")});
    store.ReloadSchedules();
    EXPECT_EQ(users(archived()), (QStringList{"ann:Old:1", "bob:Old:0"}));
}

TEST_F(SchedulerStoreTest, UpdateReplacesTheRecordTheCopyStoodFor)
{
    writeArchive({job("ann"), job("bob")});
    TarnixSchedulerController store(paths());
    const TarnixScheduleItem edited = store.configuredSchedules()[1].copy();
    TarnixScheduleItem replacement = job("bob", 0, "Studio");
    ASSERT_TRUE(store.tarnixUpdateSchedule(edited, replacement).saved());
    EXPECT_EQ(users(archived()), (QStringList{"ann:MyTarnix:0", "bob:Studio:0"}));

    // The daemon completed bob's job meanwhile: the status no longer matches, nothing is replaced, the file is saved.
    writeArchive({job("ann"), job("bob", TarnixScheduleItem::Completed)});
    ASSERT_TRUE(store.tarnixUpdateSchedule(edited, job("bob", 0, "Elsewhere")).saved());
    EXPECT_EQ(users(archived()), (QStringList{"ann:MyTarnix:0", "bob:MyTarnix:3"}));
}

TEST_F(SchedulerStoreTest, OneOffJobsOfAUserAreMergedInTheFile)
{
    TarnixScheduleItem first = job("ann"), second = job("ann"), other = job("bob");
    for (TarnixScheduleItem *r : {&first, &second, &other})
        r->setFrequency(TarnixScheduleItem::Immediate);
    first.setScheduleTime(QDateTime(QDate(2026, 1, 5), QTime(10, 0)));
    second.setScheduleTime(QDateTime(QDate(2026, 1, 5), QTime(10, 5)));
    writeArchive({first, other, second});
    TarnixSchedulerController store(paths());
    ASSERT_TRUE(store.checkExistanceOfOnceForSameUser(second).saved());
    const QList<TarnixScheduleItem> merged = archived();
    ASSERT_EQ(merged.size(), 2);
    EXPECT_TRUE(merged[0].isSameRecord(other));
    EXPECT_TRUE(merged[1].isSameRecord(first));
    EXPECT_EQ(merged[1].scheduleTime(), second.scheduleTime());
}

TEST_F(SchedulerStoreTest, StopIsRequestedOnlyWhileAJobRuns)
{
    writeArchive({job("ann")});
    TarnixSchedulerController store(paths());
    EXPECT_FALSE(store.requestStopOfRunningJob());
    EXPECT_FALSE(store.schedulerState());
    writeArchive({job("ann", TarnixScheduleItem::InProgress)});
    EXPECT_TRUE(store.requestStopOfRunningJob());
    EXPECT_EQ(store.schedulerState(), "3");
}

}  // namespace
