#include "CleanupFakes.h"

#include "client/backup/cleanup/ArchiveCleanupController.h"
#include "client/backup/cleanup/ArchiveCleanupPreferences.h"
#include "client/backup/cleanup/ArchiveCleanupRules.h"
#include "common/files/TXSupportFileManager.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <mutex>

namespace {

void runEventsUntil(const std::function<bool()> &done)
{
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(ArchiveCleanupRulesTest, AQuarterOfTheEntriesIsTheMost)
{
    const struct
    {
        qsizetype candidates, entries;
        bool refused;
    } cases[] = {{25, 100, false}, {26, 100, true}, {51, 200, true}, {50, 200, false}, {1, 1, true}, {0, 0, false}};
    for (const auto &c : cases)
        EXPECT_EQ(ArchiveCleanupRules::isShareTooLarge(c.candidates, c.entries), c.refused)
            << c.candidates << " of " << c.entries;
}

TEST(ArchiveCleanupRulesTest, TheComputerFolderIsTakenOffOnlyInFront)
{
    EXPECT_EQ(
        ArchiveCleanupRules::candidatesForCleanup({"/gone/Studio/x", "/Studio/gone/Studio/y", "gone/z"}, "/Studio"),
        (QStringList{"/gone/Studio/x", "/gone/Studio/y", "/gone/z"}));
}

class ArchiveCleanupTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("alice");
        main.account.setUserName("alice");
        main.volumeName = "BackupDrive";
        QDir().mkpath(volumes() + "/BackupDrive");
        writeText(local("/kept.txt"), "here");
        cleanup = std::make_unique<ArchiveCleanupController>(
            main, alerts, ArchiveCleanupController::BackupTab{[this] { return set; }, [this] { return backupRunning; }},
            ArchiveCleanupTimings{std::chrono::milliseconds(1)});
        cleanup->setView(&view);
        cleanup->setIndex(&index);
        cleanup->setDeleter(&deleter);
    }

    QString local(const QString &name) const { return home() + "/Docs" + name; }
    QString indexed(const QString &name) const { return "/Studio" + local(name); }

    // Cleanup Now and Continue, until the scan has ended.
    void scan()
    {
        cleanup->onSync();
        cleanup->continueSync();
        runEventsUntil([this] { return !cleanup->isScanning() && !view.preparing; });
        QCoreApplication::processEvents();
    }

    // n index entries below the set folder, of which `gone` are missing locally.
    void fillIndex(int n, int gone)
    {
        for (int i = 0; i < n; ++i) {
            const QString name = QString("/f%1").arg(i);
            if (i >= gone)
                writeText(local(name), "x");
            index.entries.append(indexed(name));
        }
    }

    FakeBackupMainController main;
    ScriptedAlerts alerts;
    FakeIndex index;
    FakeDeleter deleter;
    FakeCleanupView view;
    QStringList set{home() + "/Docs"};
    bool backupRunning = false;
    std::unique_ptr<ArchiveCleanupController> cleanup;
};

TEST_F(ArchiveCleanupTest, RefusalsBeforeTheScan)
{
    set.clear();
    cleanup->onSync();
    set = {home() + "/Docs"};
    backupRunning = true;
    cleanup->onSync();
    backupRunning = false;
    main.reIndexing = true;
    cleanup->onSync();
    EXPECT_EQ(alerts.texts(),
              (QStringList{"Unable to proceed as your backup set is empty", "Backup is underway. Try later.",
                           "Unable to proceed as database re-indexing is underway."}));
    EXPECT_FALSE(view.messageOpen);
}

TEST_F(ArchiveCleanupTest, TheShareLimitDecidesBetweenTheListAndTheRefusal)
{
    for (const auto &[n, gone, listed] : std::vector<std::tuple<int, int, bool>>{{100, 25, true}, {100, 26, false}}) {
        SCOPED_TRACE(gone);
        QDir(home() + "/Docs").removeRecursively();
        index.entries.clear();
        alerts.shown.clear();
        view = FakeCleanupView();
        cleanup->listWindowClosed();
        fillIndex(n, gone);
        scan();
        EXPECT_FALSE(view.messageOpen);
        EXPECT_EQ(view.listOpen, listed);
        EXPECT_EQ(cleanup->candidates().size(), gone);
        if (!listed) {
            ASSERT_EQ(alerts.shown.size(), 1);
            EXPECT_TRUE(alerts.shown[0].message.endsWith(
                QString("Total files in your backup set: %1\nTotal files listed for deletion: %2").arg(n).arg(gone)));
        }
    }
}

TEST_F(ArchiveCleanupTest, OnlyItemsMissingLocallyAreListedWithTheComputerFolderTakenOffAsAPrefix)
{
    fillIndex(8, 0);
    // An entry whose path holds the computer folder's name further on.
    QDir().mkpath(home() + "/Docs/Studio");
    index.entries.append(indexed("/Studio/gone.txt"));
    index.entries.append(indexed("/kept.txt"));
    scan();
    EXPECT_EQ(cleanup->candidates(), QStringList{local("/Studio/gone.txt")});
    EXPECT_EQ(view.text, local("/Studio/gone.txt"));
}

TEST_F(ArchiveCleanupTest, AnEditedListCanOnlyShrink)
{
    fillIndex(12, 3);
    scan();
    ASSERT_TRUE(view.listOpen);
    // The user drops one line, adds an empty line, an existing local file and a path the scan never found.
    view.text = QStringList{local("/f0"), "", local("/f2"), local("/f5"), "/etc/passwd", local("/f0")}.join('\n');
    alerts.answers = {1};
    cleanup->sync();
    EXPECT_EQ(deleter.items, (QStringList{indexed("/f0"), indexed("/f2")}));
    EXPECT_EQ(deleter.destination, volumes() + "/BackupDrive/TarnixVidezud/alice");
    EXPECT_EQ(deleter.computerFolder, "/Studio");
    EXPECT_EQ(cleanup->mTotalFileCount(), 2);
}

TEST_F(ArchiveCleanupTest, WithoutAComputerFolderPathsStayAsTheyAreAndTheDriveIsStillTheAccountsFolder)
{
    main.computerFolder.clear();
    for (int i = 0; i < 8; ++i)
        index.entries.append(local(QString("/f%1").arg(i)));
    writeText(local("/f0"), "x");
    for (int i = 2; i < 8; ++i)
        writeText(local(QString("/f%1").arg(i)), "x");
    scan();
    EXPECT_EQ(cleanup->candidates(), QStringList{local("/f1")});
    alerts.answers = {1};
    cleanup->sync();
    EXPECT_EQ(deleter.items, QStringList{local("/f1")});
    EXPECT_EQ(deleter.computerFolder, "");
    EXPECT_EQ(deleter.destination, volumes() + "/BackupDrive/TarnixVidezud/alice");
}

TEST_F(ArchiveCleanupTest, ItemsThatFailedStayInTheIndexAndTheRunIsReported)
{
    fillIndex(12, 2);
    scan();
    alerts.answers = {1};
    cleanup->sync();
    cleanup->deleteDidStart();
    EXPECT_TRUE(view.deleting);
    cleanup->deleteDidReceiveData({indexed("/f0")});
    cleanup->deleteDidReceiveErrors("Permission denied", indexed("/f1"));
    cleanup->deleteDidFailWithError("Some items were not deleted");
    EXPECT_EQ(index.removed, QStringList{indexed("/f0")});
    EXPECT_FALSE(view.deleting);
    EXPECT_FALSE(view.listOpen);
    ASSERT_EQ(main.reports.size(), 1);
    EXPECT_EQ(main.reports[0].operation, "Archive Cleanup");
    EXPECT_EQ(main.reports[0].totalFileCount, 2);
    EXPECT_TRUE(main.reports[0].sessionLogFilePath.contains("/Archive Cleanup/"));
    runEventsUntil([this] { return main.quotaCalls == 1; });
    EXPECT_EQ(main.quotaCalls, 1);
}

TEST_F(ArchiveCleanupTest, AnUnreadableIndexIsSaidAndNothingIsListed)
{
    fillIndex(8, 8);
    index.unreadable = true;
    scan();
    EXPECT_EQ(alerts.texts(), QStringList{"Unable to proceed as the index of your backup drive cannot be read."});
    EXPECT_FALSE(view.listOpen);
    EXPECT_TRUE(cleanup->candidates().isEmpty());
}

TEST_F(ArchiveCleanupTest, ClosingTheMessageWindowDuringTheScanEndsItWithoutAWord)
{
    fillIndex(4, 4);
    std::mutex gate;
    gate.lock();
    index.lookupStarted = [&gate] { std::lock_guard wait(gate); };
    cleanup->onSync();
    cleanup->continueSync();
    cleanup->continueSync();  // a second Continue while it runs does nothing
    cleanup->messageWindowClosed();
    gate.unlock();
    runEventsUntil([this] { return !view.preparing; });
    EXPECT_TRUE(alerts.shown.isEmpty());
    EXPECT_FALSE(view.listOpen);
}

TEST_F(ArchiveCleanupTest, PreferencesDefaultTo30DaysAnd5PercentAndAreKeptOnlyForAKnownAccount)
{
    const QString file = root() + "/Monitor.plist";
    ArchiveCleanupPreferences loaded = ArchiveCleanupPreferences::loadPrefrences(file, "alice", true);
    EXPECT_EQ(loaded.mNumberOfDays, 30);
    EXPECT_EQ(loaded.mPercentageOfFiles, 5);
    loaded.automaticSync = true;
    EXPECT_FALSE(loaded.savePreferences(file, "alice", true));
    EXPECT_FALSE(QFile::exists(file));

    ASSERT_TRUE(
        PropertyList::write(file, QVariantMap{{"alice", QVariantMap{{"mNumberOfDays", 0}}}, {"bob", QVariantMap{}}}));
    EXPECT_EQ(ArchiveCleanupPreferences::loadPrefrences(file, "alice", true).mNumberOfDays, 30);
    loaded.mNumberOfDays = 12;
    ASSERT_TRUE(loaded.savePreferences(file, "alice", true));
    ASSERT_TRUE(loaded.savePreferences(file, "bob", false));
    const QVariantMap stored = PropertyList::readDictionary(file);
    EXPECT_EQ(stored.value("alice").toMap().value("mNumberOfDays"), 12);
    EXPECT_EQ(stored.value("alice").toMap().value("AutomaticSync"), true);
    EXPECT_FALSE(stored.value("bob").toMap().contains("mNumberOfDays"));
    EXPECT_EQ(ArchiveCleanupPreferences::loadPrefrences(file, "alice", true).mNumberOfDays, 12);
}

}  // namespace
