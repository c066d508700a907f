#include "BackupNowFakes.h"

#include "client/backup/now/BackupViewController.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/files/ApplicationStatusFile.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PropertyList.h"
#include "session/SessionTestSupport.h"
#include "session/manager/BackedUpFileQueue.h"
#include "session/manager/RuvoBackupManager.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

class RecordingIndexQueue : public BackedUpFileQueue
{
public:
    void addBackedUpFile(const BackedUpFile &file) override { files << file.filename; }
    QStringList files;
};

class IndexedMainController : public FakeBackupMainController
{
public:
    BackedUpFileQueue *backedUpFileQueue() override { return &index; }
    RecordingIndexQueue index;
};

// Backup Now as a user presses it: the tab, the session driver and the stand-in
// engine, from the set file to the files on the drive and the session's report.
class BackupNowEndToEndTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("alice");
        main.account.setUserName("alice");
        main.account.setRuvoServerIP("10.0.0.1");
        main.account.setMEncodedKey("TXE1:key");
        main.account.setMEncodedPassword("TXE1:pw");
        main.volumeName = "BackupDrive";
        QDir().mkpath(volumes() + "/BackupDrive");
        writeText(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath),
                  QString(volumes() + "/BackupDrive").toUtf8());
        for (int i = 0; i < 12; ++i)
            writeText(QString("%1/Documents/folder %2/file %3.txt").arg(home()).arg(i % 3).arg(i),
                      QByteArray(100 * (i + 1), char('a' + i)));
        ASSERT_TRUE(PropertyList::write(root() + "/BackupSet.plist", QVariant(QStringList{home() + "/Documents"})));

        controller = std::make_unique<BackupViewController>(
            main, alerts, RuvoBackupManager::factory(fastTimings()),
            BackupViewController::Timings{std::chrono::milliseconds(1), {std::chrono::milliseconds(10)}});
        controller->setView(&view);
        controller->BackupSetSavedAtPath(root() + "/BackupSet.plist");
    }

    void TearDown() override
    {
        controller.reset();
        SandboxFixture::TearDown();
    }

    QStringList sourceFiles() const
    {
        QStringList files;
        QDirIterator it(home() + "/Documents", QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

    IndexedMainController main;
    ScriptedAlerts alerts;
    FakeBackupView view;
    std::unique_ptr<BackupViewController> controller;
};

TEST_F(BackupNowEndToEndTest, BackupNowStoresTheSetOnTheDriveAndReportsTheSession)
{
    ASSERT_TRUE(ApplicationStatusFile::setEntry(ApplicationStatusFile::kSchedulerBackupStatusKey, "bob"));
    alerts.answers = {1, 0};  // proceed with the drive; "OK" to the log question
    controller->backupNow();
    ASSERT_TRUE(controller->isBackupRunning()) << alerts.texts().join('\n').toStdString();
    // While it runs the status file tells the monitor whose backup it is.
    EXPECT_EQ(ApplicationStatusFile::read(), (QVariantMap{{"Interactive", "alice"}, {"Schedule", "bob"}}));
    ASSERT_TRUE(waitUntil([this] { return !main.reports.isEmpty(); }, 30000));
    EXPECT_EQ(ApplicationStatusFile::read(), (QVariantMap{{"Schedule", "bob"}}));

    const QString dataRoot = volumes() + "/BackupDrive/TarnixVidezud/alice/Studio";
    for (const QString &file : sourceFiles())
        EXPECT_EQ(SandboxFixture::readText(dataRoot + file), SandboxFixture::readText(file)) << file.toStdString();
    QStringList indexed = main.index.files;
    indexed.sort();
    EXPECT_EQ(indexed, sourceFiles());

    const SessionLogReport &report = main.reports.last();
    EXPECT_EQ(report.operation, "Backup");
    EXPECT_EQ(report.totalFileCount, sourceFiles().size());
    const QString log = QString::fromUtf8(SandboxFixture::readText(report.sessionLogFilePath));
    EXPECT_TRUE(log.contains("Backed up successfully")) << log.toStdString();
    EXPECT_TRUE(log.contains("file 11.txt")) << log.toStdString();
    EXPECT_EQ(alerts.texts().last(), "Backup operation has completed. Click the 'View Log' button for details.");
    EXPECT_FALSE(controller->isBackupRunning());
    EXPECT_TRUE(view.buttonEnabled);
    EXPECT_FALSE(main.operationActive);
}

TEST_F(BackupNowEndToEndTest, ExclusionsOfTheMonitorsPreferenceFileAreLeftOutOfTheNextBackup)
{
    // The preference file as the monitor's Exclude pane leaves it: a file excluded by the
    // user, a partial name, and an entry switched off again.
    const QString documents = home() + "/Documents";
    const QVariantMap exclusions{
        {"Default Exclusion", QVariantMap{{"/usr", true}}},
        {"User specified Exclusion",
         QVariantMap{{documents + "/folder 0/file 3.txt", 1}, {documents + "/folder 2", 0}}},
        {"Partial File Exclusion", QVariantMap{{"*file 5.txt", 1}}},
    };
    const QString preferences = QLLocalizedString("MonitorPreferencePath");
    QDir().mkpath(QFileInfo(preferences).path());
    ASSERT_TRUE(PropertyList::write(preferences, QVariantMap{{"alice", exclusions}}));
    // The client's tree excludes a whole folder while the monitor does not run.
    ASSERT_TRUE(MonitorExclusionPreferences::writeFilePathToExcludePreferences("alice", documents + "/folder 1", true));

    alerts.answers = {1, 0};
    controller->backupNow();
    ASSERT_TRUE(controller->isBackupRunning()) << alerts.texts().join('\n').toStdString();
    ASSERT_TRUE(waitUntil([this] { return !main.reports.isEmpty(); }, 30000));

    QStringList expected;
    for (const QString &file : sourceFiles())
        if (!file.contains("/folder 1/") && !file.endsWith("/file 3.txt") && !file.endsWith("/file 5.txt"))
            expected << file;
    ASSERT_EQ(expected.size(), 6);  // of twelve: folder 1 holds four, files 3 and 5 lie in the other two
    const QString dataRoot = volumes() + "/BackupDrive/TarnixVidezud/alice/Studio";
    for (const QString &file : sourceFiles())
        EXPECT_EQ(QFileInfo::exists(dataRoot + file), expected.contains(file)) << file.toStdString();
    QStringList indexed = main.index.files;
    indexed.sort();
    EXPECT_EQ(indexed, expected);
}

}  // namespace
