#include "session/manager/RuvoBackupManager.h"

#include "common/files/TXSupportFileManager.h"

#include "session/SessionTestSupport.h"
#include "support/SandboxFixture.h"

#include "engine/command/TarnixProcessLib.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

// The session driver with a fake engine: a script that appends the list it is
// given to a log, so that every block's run can be counted. The walk runs over
// a real tree of empty files.

namespace {

// Folders of empty files from which the counts of the dealing table are put together.
struct CountTree
{
    QTemporaryDir dir;
    QString folder(const QString &name) const { return dir.path() + "/" + name; }

    CountTree()
    {
        const QList<QPair<QString, int>> folders{{"one", 1},  {"n9998", 9998},   {"other", 1},
                                                 {"last", 1}, {"n10000", 10000}, {"empty", 0}};
        for (const auto &[name, count] : folders) {
            QDir().mkpath(folder(name));
            for (int i = 0; i < count; ++i)
                QFile(folder(name) + QStringLiteral("/f%1").arg(i)).open(QIODevice::WriteOnly);
        }
    }
};

CountTree &countTree()
{
    static CountTree tree;
    return tree;
}

}  // namespace

class RuvoBackupManagerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        fakeEngine.install(root());
        QDir().mkpath(dataRoot());
        makeManager(fastTimings());
    }

    void makeManager(const SessionTimings &timings)
    {
        manager = makeBackupManager(timings, delegate, applicationFolder(), dataRoot(), fakeEngine.executable());
    }

    QString dataRoot() const { return volumes() + "/Drive/TarnixVidezud/ann/Office"; }
    QList<QStringList> runs() const { return fakeEngine.runs(); }

    void backUp(const QStringList &selection)
    {
        manager->setFileFolderSetForOperation(selection);
        manager->startBackup();
        ASSERT_TRUE(delegate.waitForEnd());
    }

    FakeEngine fakeEngine;
    SessionRecorder delegate;
    std::unique_ptr<RuvoBackupManager> manager;
};

struct DealingCase
{
    int files;
    QStringList folders;
    int blocks;
};

class SessionDealingTable : public RuvoBackupManagerTest, public ::testing::WithParamInterface<DealingCase>
{};

TEST_P(SessionDealingTable, EveryBlockRunsOnceAndTheSessionEndsOnce)
{
    const DealingCase &c = GetParam();
    QStringList selection;
    for (const QString &name : c.folders)
        selection << countTree().folder(name);
    backUp(selection);

    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    EXPECT_EQ(manager->blocksWritten(), c.blocks);
    const QList<QStringList> engineRuns = runs();
    EXPECT_EQ(engineRuns.size(), c.blocks);
    QStringList all;
    for (const QStringList &run : engineRuns) {
        EXPECT_LE(run.size(), 5000);
        all << run;
    }
    EXPECT_EQ(all.size(), c.files);
    EXPECT_EQ(QSet<QString>(all.cbegin(), all.cend()).size(), c.files) << "no path twice";
    EXPECT_EQ(delegate.count("start"), 1);
    EXPECT_EQ(delegate.count("walked"), 1);
    EXPECT_FALSE(delegate.offMainThread);
    EXPECT_FALSE(manager->isRunning());
}

INSTANTIATE_TEST_SUITE_P(Counts, SessionDealingTable,
                         ::testing::Values(DealingCase{0, {"empty"}, 0}, DealingCase{0, {}, 0},
                                           DealingCase{1, {"one"}, 1}, DealingCase{9999, {"one", "n9998"}, 2},
                                           DealingCase{10000, {"one", "n9998", "other"}, 2},
                                           DealingCase{10001, {"one", "n9998", "other", "last"}, 3},
                                           DealingCase{20000, {"one", "n9998", "other", "n10000"}, 4}),
                         [](const auto &info) {
                             return "Files" + std::to_string(info.param.files) + "Folders" +
                                    std::to_string(info.param.folders.size());
                         });

// The tabs hand the account over with setuserInfo: a storage-server account's
// engines are started with the user's proxy settings, another's without.
TEST_F(RuvoBackupManagerTest, AStorageServerAccountTakesTheProxySettings)
{
    const QString proxyFile =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting);
    User plain;
    manager->setuserInfo(plain);
    EXPECT_NE(manager->proxyObject().settingFilePath(), proxyFile);
    User storageServer;
    storageServer.setRuvoUser(true);
    manager->setuserInfo(storageServer);
    EXPECT_EQ(manager->proxyObject().settingFilePath(), proxyFile);
}

TEST_F(RuvoBackupManagerTest, ControlFilesAndPause)
{
    const QString cancelFile = manager->operationFolderPath() + "/intCancel";
    manager->setCancel(true);
    manager->setCancel(false);
    EXPECT_EQ(readText(cancelFile), "0");

    manager->setBandwidthThrottleValue("70");
    manager->pause(true);
    EXPECT_EQ(manager->bandWidthThrottleValue(), "-1");
    manager->pause(true);
    manager->pause(false);
    EXPECT_EQ(manager->bandWidthThrottleValue(), "70") << "a second pause does not make the pause stick";
    EXPECT_EQ(QFile::permissions(cancelFile) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
}

TEST_F(RuvoBackupManagerTest, ShortOrEmptyDestinationIsRefusedOnce)
{
    for (const QString &destination : {QString(), QString("/"), QString("/abcdefghij")}) {
        delegate.endStates.clear();
        manager->setDestinationPath(destination);
        manager->setFileFolderSetForOperation({countTree().folder("one")});
        manager->startBackup();
        ASSERT_TRUE(delegate.waitForEnd());
        EXPECT_EQ(delegate.settledEndStates(),
                  QStringList{"failure: Unable to continue the operation. Reason: no destination folder on the "
                              "backup drive."});
        EXPECT_FALSE(manager->isRunning());
    }
    EXPECT_TRUE(runs().isEmpty());
}

TEST_F(RuvoBackupManagerTest, CancelWhileTheEngineRunsEndsAsCancelOnce)
{
    qputenv("FAKE_ENGINE_SLEEP", "5");
    manager->setFileFolderSetForOperation({countTree().folder("one")});
    manager->startBackup();
    ASSERT_TRUE(waitUntil([this] { return manager->engineOne()->isRunning(); }));
    manager->CancelBackupProcess();
    ASSERT_TRUE(delegate.waitForEnd(3000)) << "the engine is stopped, not waited for";
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"cancel"});
    EXPECT_EQ(readText(manager->operationFolderPath() + "/intCancel"), "3");
}

TEST_F(RuvoBackupManagerTest, CancelBeforeAnyEngineRanStillEnds)
{
    manager->setFileFolderSetForOperation({countTree().folder("n10000"), countTree().folder("n9998")});
    manager->startBackup();
    manager->CancelBackupProcess();
    ASSERT_TRUE(delegate.waitForEnd());
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"cancel"});
    EXPECT_FALSE(manager->isRunning());
}

TEST_F(RuvoBackupManagerTest, CancelDuringARetryWaitEndsAsCancel)
{
    SessionTimings timings = fastTimings();
    timings.retryDelay = std::chrono::seconds(30);
    makeManager(timings);
    qputenv("FAKE_ENGINE_FAILS", "Connection refused");
    manager->setFileFolderSetForOperation({countTree().folder("one")});
    manager->startBackup();
    ASSERT_TRUE(waitUntil([this] { return delegate.count("script call") > 0; }));
    spinFor(100);
    manager->CancelBackupProcess();
    ASSERT_TRUE(delegate.waitForEnd());
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"cancel"}) << "a cancel is no connection failure";
}

TEST_F(RuvoBackupManagerTest, AnEngineThatStopsWithAStatusIsRetriedOnItsBlock)
{
    qputenv("FAKE_ENGINE_FAIL_ONCE", (root() + "/failed-once").toUtf8());
    backUp({countTree().folder("one")});
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    EXPECT_EQ(delegate.count("retrying"), 1);
    EXPECT_EQ(runs(), QList<QStringList>{{countTree().folder("one") + "/f0"}});
}

TEST_F(RuvoBackupManagerTest, RetriesUsedUpEndAsConnectionFailure)
{
    qputenv("FAKE_ENGINE_FAILS", "txruvo error: failed to connect");
    backUp({countTree().folder("one")});
    EXPECT_EQ(delegate.settledEndStates(),
              QStringList{"failure: Unable to continue the operation. Reason: Connection Failed. Unable to connect to "
                          "the server. Try later"});
    EXPECT_EQ(delegate.count("retrying"), 9);
}

TEST_F(RuvoBackupManagerTest, CriticalErrorStopsBothEnginesAndIsTheOnlyEndState)
{
    qputenv("FAKE_ENGINE_FAILS", "txruvo error: device is not connected (/v)");
    backUp({countTree().folder("n10000")});
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"failure: txruvo error: device is not connected (/v)"});
    EXPECT_EQ(delegate.count("retrying"), 0);
}

TEST_F(RuvoBackupManagerTest, QuotaOverEndsAsOverQuota)
{
    qputenv("FAKE_ENGINE_FAILS", "txruvo error: some files could not be transferred due to quota over limit");
    backUp({countTree().folder("one")});
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"over quota: Quota Exceeded"});
}

TEST_F(RuvoBackupManagerTest, TheWalksPausesCountAsFixedWaits)
{
    // One entry: one pause, before any engine runs. The other waits of these
    // timings (one run's finish wait) come to far less than the pause.
    SessionTimings timings = fastTimings();
    timings.walk.walkPause = std::chrono::milliseconds(200);
    makeManager(timings);
    backUp({countTree().folder("one")});
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    EXPECT_GE(manager->fixedWaitsSpent(), std::chrono::milliseconds(200));
}

TEST_F(RuvoBackupManagerTest, TheFirstSettlingCountsOnlyFromTheHandOverOfTheFirstBlock)
{
    // The main thread is held up for 500 ms before it can hand block 0 over;
    // the walk's 800 ms settling began long before. Only the part after the
    // hand-over is a fixed wait: up to it the session was still getting its
    // engine going, which counts as its own time.
    SessionTimings timings = fastTimings();
    timings.firstLaunchSettle = std::chrono::milliseconds(800);
    makeManager(timings);
    QMetaObject::invokeMethod(
        manager.get(), [] { std::this_thread::sleep_for(std::chrono::milliseconds(500)); }, Qt::QueuedConnection);
    backUp({countTree().folder("one")});
    EXPECT_EQ(delegate.settledEndStates(), QStringList{"success"});
    EXPECT_LT(manager->fixedWaitsSpent(), std::chrono::milliseconds(450));
}

TEST_F(RuvoBackupManagerTest, MissingEngineEndsTheSessionWithoutRetries)
{
    manager->setExecutorPath(root() + "/no-such-engine");
    backUp({countTree().folder("n9998")});
    const QStringList ends = delegate.settledEndStates();
    ASSERT_EQ(ends.size(), 1);
    EXPECT_TRUE(ends.first().startsWith("failure: ERROR: The engine could not be started"))
        << ends.first().toStdString();
    EXPECT_EQ(delegate.count("retrying"), 0);
}

namespace {

// An engine progress line of a file of 1,000 bytes; `done` bytes of the run so far.
QString progressLine(const QString &fname, int per, int done, const QString &type = "FULL")
{
    return QStringLiteral("<file offset=\"%1\" size=\"1000\" tottrf_sz=\"%1\" tot_sz=\"%1\" cum_size=\"0\" per=\"%2\" "
                          "rate_trf=\"1.00 MB/s\" remain_time=\"0\" trf_type=\"%3\" folder_id=\"f1\" mpc=\"/Office\" "
                          "enc_name=\"61\" file_ver=\"1\" fname=\"%4\"/>")
        .arg(done)
        .arg(per)
        .arg(type, fname);
}

// A short progress line padded by its file name to the given length.
QString progressLineOfLength(qsizetype length)
{
    const QString head = "<file size=\"1000\" tottrf_sz=\"500\" per=\"50\" trf_type=\"FULL\" fname=\"/";
    const QString tail = "\"/>";
    return head + QString(length - head.size() - tail.size(), u'x') + tail;
}

}  // namespace

// Lines as the engine's wrapper hands them over, in calls of one or more
// lines, and the reports the delegate gets: "status mode percentage".
TEST_F(RuvoBackupManagerTest, ProgressLinesBecomeReports)
{
    writeText(root() + "/files/a.txt", QByteArray(1000, 'a'));
    qputenv("FAKE_ENGINE_SLEEP", "10");
    manager->setFileFolderSetForOperation({root() + "/files"});
    manager->startBackup();
    ASSERT_TRUE(waitUntil([this] { return delegate.count("walked") == 1 && manager->engineOne()->isRunning(); }));

    struct Step
    {
        const char *name;
        QStringList lines;
        QStringList reports;
    };
    const Step steps[] = {
        {"a 75-character line is no progress line", {progressLineOfLength(75)}, {}},
        {"a 76-character line is", {progressLineOfLength(76)}, {"In Progress [Full Backup] 50"}},
        {"then every other line in progress is reported",
         {progressLine("/b", 10, 100), progressLine("/b", 20, 200), progressLine("/b", 30, 300)},
         {"In Progress [Full Backup] 20"}},
        {"a completed file always is", {progressLine("/b", 100, 1000)}, {"Done [Full Backup] 100"}},
        {"a file found in sync is done too", {progressLine("/c", 100, 1000, "FILE IN SYNC")}, {"Done [Sync File] 100"}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        const qsizetype before = delegate.reports.size();
        manager->updateProgress(step.lines.join('\n') + '\n', manager->engineOne());
        spinFor(50);
        QStringList reports;
        for (qsizetype i = before; i < delegate.reports.size(); ++i) {
            const QVariantMap &report = delegate.reports.at(i);
            reports << QStringLiteral("%1 %2 %3")
                           .arg(report.value("fileTransferedStatus").toString(), report.value("tansferMode").toString(),
                                report.value("percentage").toString());
        }
        EXPECT_EQ(reports, step.reports);
    }
    EXPECT_EQ(manager->succesFileCount(), 1);
    EXPECT_EQ(manager->syncFileCount(), 1);
    manager->CancelBackupProcess();
    ASSERT_TRUE(delegate.waitForEnd());
}
