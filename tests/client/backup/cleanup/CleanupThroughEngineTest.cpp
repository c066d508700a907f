#include "CleanupFakes.h"

#include "client/backup/cleanup/ArchiveCleanupController.h"
#include "client/backup/cleanup/RuvoArchiveCleanupDeleter.h"
#include "engine/controllers/ControllerTestSupport.h"
#include "engine/controllers/RuvoDeleteController.h"

#include <QDirIterator>

// Cleanup Now from the scan to the drive: files stored by the stand-in engine
// with their index rows, the local copies of some removed, and the confirmed
// list deleted through the engine's delete controller (`--delete-items`).
class CleanupThroughEngineTest : public IndexReaderFixture
{
protected:
    void SetUp() override
    {
        IndexReaderFixture::SetUp();
        main.account.setUserName(kUser);
        main.volumeName = "Drive";
        main.computerFolder = "/Office";
        QDir().mkpath(volumes() + "/Drive");
        // Two gone files in a gone folder, one gone file beside kept ones: 3 of 15 stored files, 1 of 3 folders.
        QStringList files{local("old/a.txt"), local("old/b b.txt"), local("docs/gone.txt")};
        for (int i = 0; i < 12; ++i)
            files << local(QString("docs/kept %1.txt").arg(i));
        for (const QString &file : files)
            writeText(file, file.toUtf8());
        for (const StandInRecord &record : backUpWithStandIn(root() + "/operation", computerFolder(), files))
            stored.insert(record.path, record);
        // Rows in the order of the files above: the engine's own order varies from run to run.
        QList<JournalRow> rows;
        for (const QString &file : files) {
            const StandInRecord record = stored.value(file);
            rows.append({indexPath(record.path), "INSERT", 10, 1, record.encName, record.folderId});
        }
        writeJournal(rows);
        ASSERT_TRUE(mergeJournals());
        for (const char *path : {"old/", "docs/", ""})
            index.entries.append(indexPath(local(path)));
        for (const JournalRow &row : rows)
            index.entries.append(row.path);
        QDir(local("old")).removeRecursively();
        QFile::remove(local("docs/gone.txt"));

        deleteController = std::make_unique<RuvoDeleteController>(quickDeletes());
        deleter = std::make_unique<RuvoArchiveCleanupDeleter>(*deleteController, [this](RuvoDeleteController &run) {
            run.userInfo() = main.account;
            run.userInfo().setMEncodedPassword("secret");
            run.userInfo().setMEncodedKey("key");
            run.userInfo().setRuvoServerIP("10.0.0.1");
            run.userInfo().setPort("--port=443");
            run.setExecutorPath(QLLocalizedString("ExecuterPathRuvo"));
        });
        cleanup = std::make_unique<ArchiveCleanupController>(
            main, alerts,
            ArchiveCleanupController::BackupTab{[this] { return QStringList{local()}; }, [] { return false; }},
            ArchiveCleanupTimings{std::chrono::milliseconds(1)});
        cleanup->setView(&view);
        cleanup->setIndex(&index);
        cleanup->setDeleter(deleter.get());
    }

    void TearDown() override
    {
        cleanup.reset();
        deleter.reset();
        deleteController.reset();
        qunsetenv("TXRUVO_SCENARIO");
        IndexReaderFixture::TearDown();
    }

    static RuvoDeleteTimings quickDeletes()
    {
        RuvoDeleteTimings timings;
        timings.linePause = std::chrono::milliseconds(0);
        timings.index = IndexReaderFixture::timings();
        return timings;
    }

    // The backed-up folder (the set), and paths in it.
    QString local() const { return root() + "/local"; }
    QString local(const QString &path) const { return local() + "/" + path; }
    QString indexPath(const QString &localPath) const { return "/Office" + localPath; }
    QString computerFolder() const { return volumes() + "/Drive/TarnixVidezud/" + kUser + "/Office"; }
    bool isOnDrive(const QString &localPath) const { return QFile::exists(computerFolder() + localPath); }

    // Cleanup Now, Continue, and "Yes" to the list as the scan found it.
    void cleanUp()
    {
        cleanup->onSync();
        cleanup->continueSync();
        ASSERT_TRUE(waitUntil([this] { return view.listOpen; })) << alerts.texts().join('\n').toStdString();
        alerts.answers = {1};
        cleanup->sync();
        ASSERT_TRUE(waitUntil([this] { return !main.reports.isEmpty(); }));
    }

    QString sessionLog() const { return QString::fromUtf8(readText(main.reports.last().sessionLogFilePath)); }

    FakeBackupMainController main;
    ScriptedAlerts alerts;
    FakeIndex index;
    FakeCleanupView view;
    QMap<QString, StandInRecord> stored;
    std::unique_ptr<RuvoDeleteController> deleteController;
    std::unique_ptr<RuvoArchiveCleanupDeleter> deleter;
    std::unique_ptr<ArchiveCleanupController> cleanup;
};

TEST_F(CleanupThroughEngineTest, GoneItemsLeaveTheDriveAndTheIndexAndTheRunIsLogged)
{
    cleanUp();
    EXPECT_EQ(
        view.text,
        QStringList({local("old/"), local("old/a.txt"), local("old/b b.txt"), local("docs/gone.txt")}).join('\n'));
    for (const char *gone : {"old/a.txt", "old/b b.txt", "docs/gone.txt"})
        EXPECT_FALSE(isOnDrive(local(gone))) << gone;
    EXPECT_TRUE(isOnDrive(local("docs/kept 0.txt")));
    index.removed.sort();
    EXPECT_EQ(index.removed, (QStringList{indexPath(local("docs/gone.txt")), indexPath(local("old/")),
                                          indexPath(local("old/a.txt")), indexPath(local("old/b b.txt"))}));
    EXPECT_EQ(main.reports.last().operation, "Archive Cleanup");
    EXPECT_EQ(main.reports.last().totalFileCount, 4);
    const QString log = sessionLog();
    EXPECT_TRUE(log.contains("Deleted file: " + indexPath(local("old/b b.txt")).mid(1))) << log.toStdString();
    EXPECT_TRUE(log.contains("Deleted successfully")) << log.toStdString();
    EXPECT_FALSE(view.listOpen);
    EXPECT_FALSE(deleteController->isRunning());
    // The list window closed: the user is told what became of the items.
    EXPECT_EQ(alerts.texts().last(), "\u2018Cleanup Now\u2019 has removed 4 item(s) from your backup drive.");
}

TEST_F(CleanupThroughEngineTest, AnItemTheEngineCannotDeleteStaysInTheIndex)
{
    const StandInRecord failing = stored.value(local("docs/gone.txt"));
    const QVariantMap scenario{{"failFiles", QVariantMap{{failing.serverPath(), "Permission denied"}}}};
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", scenario));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    cleanUp();
    EXPECT_TRUE(isOnDrive(local("docs/gone.txt")));
    EXPECT_FALSE(isOnDrive(local("old/a.txt")));
    index.removed.sort();
    // The folder's rows stay too while anything of the run failed: the next cleanup lists it again.
    EXPECT_EQ(index.removed, (QStringList{indexPath(local("old/a.txt")), indexPath(local("old/b b.txt"))}));
    const QString log = sessionLog();
    EXPECT_TRUE(log.contains("Failed deleting file:  Permission denied")) << log.toStdString();
    EXPECT_FALSE(log.contains("Deleted file: " + indexPath(local("docs/gone.txt")).mid(1))) << log.toStdString();
}

TEST_F(CleanupThroughEngineTest, AnItemAlreadyGoneFromTheDriveLeavesTheIndexToo)
{
    // The engine finds neither file and names each by its stored name.
    for (const char *gone : {"old/a.txt", "docs/gone.txt"})
        ASSERT_TRUE(QFile::remove(computerFolder() + local(gone))) << gone;
    cleanUp();
    index.removed.sort();
    EXPECT_EQ(index.removed, (QStringList{indexPath(local("docs/gone.txt")), indexPath(local("old/")),
                                          indexPath(local("old/a.txt")), indexPath(local("old/b b.txt"))}));
    const QString log = sessionLog();
    EXPECT_TRUE(log.contains("Deleted file: " + indexPath(local("docs/gone.txt")).mid(1))) << log.toStdString();
    EXPECT_TRUE(log.contains("Deleted successfully")) << log.toStdString();
}
