// Scheduled backups end to end: records written by the monitor's store, the
// daemon (as its own program, or in process with a clock of the test's) backs
// them up through the session layer and the stand-in engine to the drive,
// the index learns the files, and the monitor hears of the end.

#include "tools/daemon/DaemonFixture.h"

#include "daemon/BackupDaemon.h"

#include "common/files/TXSupportFileManager.h"
#include "desktop/logs/LogManager.h"
#include "desktop/logs/LogParseReceiver.h"
#include "engine/EngineTestSupport.h"
#include "index/manager/TarnixDBManager.h"
#include "session/SessionTestSupport.h"
#include "support/FakeApplicationDelegate.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

// The daemon program, started and stopped by the test.
class DaemonProgram
{
public:
    ~DaemonProgram()
    {
        if (mProcess.state() != QProcess::NotRunning) {
            mProcess.kill();
            mProcess.waitForFinished(5000);
        }
    }

    bool start()
    {
        mProcess.setProgram(qEnvironmentVariable("TX_BIN_DIR") + "/txdaemon");
        mProcess.setArguments({"--poll-ms", "100"});
        mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mProcess.start();
        if (!mProcess.waitForStarted(5000))
            return false;
        while (!mProcess.canReadLine())
            if (!mProcess.waitForReadyRead(10000))
                return false;
        return mProcess.readLine().startsWith("txdaemon running");
    }

    // SIGTERM, then the exit status.
    int stop()
    {
        mProcess.terminate();
        if (!mProcess.waitForFinished(30000))
            return -1;
        return mProcess.exitStatus() == QProcess::NormalExit ? mProcess.exitCode() : -1;
    }

    QProcess &process() { return mProcess; }

    // For a failure message: whether the daemon still runs, or how it ended.
    std::string describe()
    {
        if (mProcess.state() != QProcess::NotRunning && !mProcess.waitForFinished(0))
            return "the daemon runs";
        return mProcess.exitStatus() == QProcess::CrashExit
                   ? "the daemon crashed"
                   : "the daemon ended with status " + std::to_string(mProcess.exitCode());
    }

private:
    QProcess mProcess;
};

// Stands in for the log viewer: keeps the records the log manager delivers.
class LogRecords : public LogParseReceiver
{
public:
    void xmlParsed(const std::optional<QList<LogNode>> &records) override
    {
        if (records)
            nodes += *records;
        ++days;
    }
    QList<LogNode> nodes;
    int days = 0;
};

class DaemonEndToEndTest : public DaemonFixture
{
protected:
    // The records the log viewer lists.
    QList<LogNode> viewerRecords()
    {
        LogRecords receiver;
        LogManager manager(&receiver, SessionLogsFolder::fromApplicationFiles());
        manager.fetchAllLogs();
        waitUntil([&receiver] { return receiver.days > 0; }, 10000);
        return receiver.nodes;
    }

    QStringList indexedFiles()
    {
        FakeApplicationDelegate account;
        account.account.setUserName("ann");
        account.computerFolder = "/Office";
        account.backupPath = dataRoot();
        TXSupportFileManager &files = TXSupportFileManager::txFileManager();
        files.setTarnixUserName("ann");
        bool changed = false;
        files.setDestinationDrive("Drive", &changed);
        TarnixDBManager index;
        index.setMainController(&account);
        index.waitForWriters();
        return index.getAllEntriesFromMainDBWithPathLike("/Office" + tree()).value_or(QStringList());
    }

    bool statusPlistNamesAJob() const
    {
        return PropertyList::readDictionary(QLLocalizedString("ApplicationStatusPath")).contains("Schedule");
    }
};

TEST_F(DaemonEndToEndTest, ImmediateRecordIsBackedUpToTheDriveAndTheIndex)
{
    listenAsMonitor();
    const TarnixScheduleItem once = record(TarnixScheduleItem::Immediate, QDateTime::currentDateTime().addSecs(45));
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(once).saved());
    ASSERT_TRUE(store().writeSchedulerState("2"));

    DaemonProgram daemon;
    ASSERT_TRUE(daemon.start());
    ASSERT_TRUE(waitUntil([&] { return statusOf(once) == TarnixScheduleItem::Completed; }, 60000))
        << "status " << statusOf(once);
    EXPECT_EQ(store().schedulerState(), "0") << "the request was taken";
    expectDriveHoldsTree();
    EXPECT_FALSE(statusPlistNamesAJob());

    ASSERT_TRUE(waitUntil([&] { return !messagesOfType(1).isEmpty(); }, 10000));
    const QVariantMap notice = messagesOfType(1).first().toMap();
    const QString count = QString::number(treeFiles().size());
    EXPECT_EQ(notice.value("SuccessCount"), count);
    EXPECT_EQ(notice.value("TotalCount"), count);
    EXPECT_EQ(notice.value("FailureCount"), "0");
    EXPECT_EQ(notice.value("Username"), "ann");
    EXPECT_FALSE(notice.contains("ErrorMessage"));
    EXPECT_FALSE(notice.contains("ShouldForceHide"));
    const QString sessionLog = notice.value("SessionLogPath").toString();
    EXPECT_TRUE(QFileInfo(sessionLog).fileName().startsWith("Backup ")) << sessionLog.toStdString();
    EXPECT_TRUE(readText(sessionLog).contains("Scheduled backup completed")) << readText(sessionLog).toStdString();
    ASSERT_TRUE(waitUntil([&] { return messagesOfType(4).size() == 2; }, 10000));
    EXPECT_EQ(messagesOfType(4), (QVariantList{"Start", "Terminate"}));
    EXPECT_TRUE(messagesOfType(5).isEmpty() && messagesOfType(6).isEmpty());

    const QList<LogNode> records = viewerRecords();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].logfile, sessionLog);
    EXPECT_EQ(records[0].optype, "2") << "a scheduled backup";
    EXPECT_EQ(records[0].status, "Success");
    EXPECT_EQ(records[0].files, count);

    EXPECT_EQ(daemon.stop(), 0);
    QStringList expected;
    for (const QString &file : treeFiles())
        expected << "/Office" + file;
    QStringList indexed = indexedFiles().filter(QRegularExpression("\\.txt$"));
    indexed.sort();
    EXPECT_EQ(indexed, expected);
}

TEST_F(DaemonEndToEndTest, StopRequestEndsTheRunningJobAsCancelled)
{
    listenAsMonitor();
    const QString scenario = root() + "/scenario.plist";
    ASSERT_TRUE(PropertyList::write(scenario, QVariantMap{{"stopAfterFiles", 1}, {"stopMode", "hang"}}));
    qputenv("TXRUVO_SCENARIO", scenario.toUtf8());
    const TarnixScheduleItem once = record(TarnixScheduleItem::Immediate, QDateTime::currentDateTime());
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(once).saved());

    DaemonProgram daemon;
    ASSERT_TRUE(daemon.start());
    ASSERT_TRUE(waitUntil([&] { return statusOf(once) == TarnixScheduleItem::InProgress; }, 30000));
    EXPECT_TRUE(statusPlistNamesAJob());
    EXPECT_EQ(store().tarnixaddSchedulerDetails(record(2, QDateTime::currentDateTime())).result,
              TarnixSchedulerController::Saved::HeldBack);
    ASSERT_TRUE(store().requestStopOfRunningJob());
    ASSERT_TRUE(waitUntil([&] { return statusOf(once) == TarnixScheduleItem::Canceled; }, 30000))
        << "status " << statusOf(once) << ", " << daemon.describe() << "\n"
        << readText(QLLocalizedString("DaemonTraceFilePath")).toStdString()
        << readText(QLLocalizedString("InteractiveTraceFilePath")).right(3000).toStdString();
    EXPECT_EQ(store().schedulerState(), "0");
    ASSERT_TRUE(waitUntil([&] { return !messagesOfType(1).isEmpty(); }, 10000));
    EXPECT_TRUE(messagesOfType(1).first().toMap().contains("ErrorMessage"));
    EXPECT_EQ(daemon.stop(), 0);
}

TEST_F(DaemonEndToEndTest, OneDaemonPerUser)
{
    DaemonProgram first, second;
    ASSERT_TRUE(first.start());
    second.process().setProgram(qEnvironmentVariable("TX_BIN_DIR") + "/txdaemon");
    second.process().start();
    ASSERT_TRUE(second.process().waitForFinished(10000));
    EXPECT_EQ(second.process().exitCode(), 1);
    EXPECT_EQ(first.stop(), 0);
}

// The daemon in process, on the test's clock.
class DaemonClockTest : public DaemonFixture
{
protected:
    void SetUp() override
    {
        DaemonFixture::SetUp();
        BackupDaemon::Timings timings;
        timings.poll = std::chrono::hours(1);  // the test ticks
        timings.session = fastTimings();
        timings.index.tickInterval = std::chrono::hours(1);
        daemon = std::make_unique<BackupDaemon>(
            timings, [this] { return now; }, nullptr);
    }
    void TearDown() override
    {
        daemon.reset();
        DaemonFixture::TearDown();
    }

    void tickAndWait()
    {
        daemon->tick();
        ASSERT_TRUE(waitUntil([this] { return !daemon->isRunningJob(); }, 60000));
    }

    QDateTime now;
    std::unique_ptr<BackupDaemon> daemon;
};

TEST_F(DaemonClockTest, DailyRecordRunsOnceAtItsTimeAndSkipsAMissedDay)
{
    const QDateTime at = QDateTime(QDate(2026, 1, 5), QTime(10, 0));
    const TarnixScheduleItem daily = record(TarnixScheduleItem::Daily, at);
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(daily).saved());

    now = at.addSecs(-60);
    daemon->start();
    EXPECT_FALSE(daemon->isRunningJob());
    EXPECT_EQ(statusOf(daily), 0);

    now = at.addSecs(5);
    daemon->tick();
    EXPECT_TRUE(daemon->isRunningJob());
    ASSERT_TRUE(waitUntil([this] { return !daemon->isRunningJob(); }, 60000));
    EXPECT_EQ(statusOf(daily), TarnixScheduleItem::Completed);
    EXPECT_EQ(archived(daily)->scheduleTime(), at.addDays(1));
    expectDriveHoldsTree();

    now = at.addSecs(40);
    daemon->tick();
    EXPECT_FALSE(daemon->isRunningJob()) << "once a day";

    // The next day passed while no daemon ran: that run is skipped, the day after is next.
    now = at.addDays(1).addSecs(600);
    tickAndWait();
    EXPECT_EQ(archived(daily)->scheduleTime(), at.addDays(2));
    EXPECT_EQ(statusOf(daily), TarnixScheduleItem::Completed);
}

TEST_F(DaemonClockTest, TheMonitorsPauseHoldsTheRunningJob)
{
    const QString scenario = root() + "/scenario.plist";
    ASSERT_TRUE(PropertyList::write(scenario, QVariantMap{{"lineDelayMs", 300}}));
    qputenv("TXRUVO_SCENARIO", scenario.toUtf8());
    const QString pauseFile = QFileInfo(userFile("BandwidthThrottleFilePath")).absolutePath() + "/pause.txt";
    writeText(pauseFile, "1");
    now = QDateTime(QDate(2026, 1, 5), QTime(10, 0));
    const TarnixScheduleItem once = record(TarnixScheduleItem::Immediate, now);
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(once).saved());

    daemon->start();
    ASSERT_TRUE(daemon->isRunningJob());
    daemon->tick();  // the job sees the pause
    spinFor(1500);
    const QStringList whilePaused = QDir(dataRoot() + tree()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    spinFor(1000);
    EXPECT_EQ(QDir(dataRoot() + tree()).entryList(QDir::Files | QDir::NoDotAndDotDot), whilePaused)
        << "nothing moves while paused";
    EXPECT_EQ(statusOf(once), TarnixScheduleItem::InProgress);

    writeText(pauseFile, "0");
    daemon->tick();
    ASSERT_TRUE(waitUntil([this] { return !daemon->isRunningJob(); }, 60000));
    EXPECT_EQ(statusOf(once), TarnixScheduleItem::Completed);
    expectDriveHoldsTree();
}

TEST_F(DaemonClockTest, AJobWithoutABackupSetFailsAndIsToldSo)
{
    ASSERT_TRUE(PropertyList::write(backupSet(), QVariantList{}));
    now = QDateTime(QDate(2026, 1, 5), QTime(10, 0));
    const TarnixScheduleItem once = record(TarnixScheduleItem::Immediate, now);
    ASSERT_TRUE(store().tarnixaddSchedulerDetails(once).saved());
    daemon->start();
    ASSERT_TRUE(waitUntil([this] { return !daemon->isRunningJob(); }, 30000));
    EXPECT_EQ(statusOf(once), TarnixScheduleItem::Canceled) << "a failed run is not marked completed";
}

}  // namespace
