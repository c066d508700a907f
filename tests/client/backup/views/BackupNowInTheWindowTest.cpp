#include "LoggedInClientFixture.h"

#include "client/backup/now/BackupNowFakes.h"
#include "client/common/views/ProgressPaneView.h"
#include "desktop/logs/views/LogViewController.h"
#include "platform/PropertyList.h"

#include <QDirIterator>
#include <QLabel>
#include <QSet>

// Backup Now as a user does it in the window: the demo account logs in, a
// folder of a data drive is checked in the tree, Backup Now is clicked and its
// questions answered, the progress pane is brought forward and watched, and
// at the end the drive holds the folder and the log viewer the session.
class BackupNowInTheWindowTest : public LoggedInClientFixture
{
protected:
    void SetUp() override
    {
        LoggedInClientFixture::SetUp();
        const QStringList names = {"report 1.txt",           "report 2.txt",          "Photos/beach ü.jpg",
                                   "Photos/empty",           "a/b/c/deep.txt",        "notes$(x).md",
                                   "Photos/2014/IMG 01.jpg", "Photos/2014/IMG 02.jpg"};
        for (int i = 0; i < names.size(); ++i)
            writeText(source() + "/" + names.at(i),
                      names.at(i) == "Photos/empty" ? QByteArray() : QByteArray(500 * (i + 1), char('a' + i)));
        // The engine writes its lines slowly enough for the pane to show the files one by one.
        ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", QVariantMap{{"lineDelayMs", 250}}));
        qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    }

    void TearDown() override
    {
        qunsetenv("TXRUVO_SCENARIO");
        LoggedInClientFixture::TearDown();
    }

    QString source() const { return volumes() + "/DataDrive/Documents"; }

    QStringList sourceFiles() const
    {
        QStringList files;
        QDirIterator it(source(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

    // Files and folders under the folder that other users may read or enter.
    static QStringList openToOthers(const QString &folder)
    {
        QStringList open;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            if (!entry.isSymLink() && (entry.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                                              QFileDevice::WriteGroup | QFileDevice::WriteOther)))
                open << entry.filePath();
        }
        return open;
    }

    ScriptedAlerts alerts;
};

TEST_F(BackupNowInTheWindowTest, TheCheckedFolderLandsOnTheDriveAndItsSessionLogShowsInTheViewer)
{
    openLoggedIn(&alerts);
    check("DataDrive", "Documents");
    BackupPageView &page = *client->backup.page();
    BackupViewController &backup = client->backup.controller();
    TXTabViewController &tabs = *client->shell.windows().tabViewController();

    alerts.answers = {1, 1};  // proceed with BackupDrive; "View Log" at the end
    page.backupButton()->click();
    ASSERT_TRUE(backup.isBackupRunning()) << alerts.texts().join('\n').toStdString();
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_TRUE(alerts.shown[0].message.contains("'BackupDrive'")) << alerts.shown[0].message.toStdString();
    EXPECT_TRUE(waitUntil([&] { return !page.backupButton()->isEnabled(); }));

    // The sidebar's mini progress brings the pane forward in place of the set list.
    ASSERT_TRUE(waitUntil([&] { return tabs.sidebar()->backupMiniProgressBox()->isVisible(); }));
    tabs.sidebar()->backupMiniProgressBox()->click();
    ProgressPaneView &pane = *page.progressPane();
    EXPECT_TRUE(pane.isVisible());
    EXPECT_FALSE(page.backupButton()->isVisible());
    EXPECT_FALSE(page.cleanupButton()->isVisible());

    // Watch the pane until the session's end asks about the log.
    QSet<QString> statuses, fileLines, percentages;
    const bool ended = waitUntil(
        [&] {
            statuses.insert(pane.statusLabel()->text());
            fileLines.insert(pane.filePathLabel()->text());
            percentages.insert(pane.percentageLabel()->text());
            return alerts.shown.size() >= 2;
        },
        60000);
    ASSERT_TRUE(ended) << statuses.values().join(" | ").toStdString();
    EXPECT_TRUE(statuses.contains("Backup progress")) << statuses.values().join(" | ").toStdString();
    // File lines tell the files as they go, several of them one after the other.
    int filesShown = 0;
    for (const QString &line : std::as_const(fileLines))
        filesShown += line.contains("  (");  // "<mode> <file>  (<size>)"
    EXPECT_GE(filesShown, 2) << fileLines.values().join(" | ").toStdString();
    percentages.remove(QString());
    EXPECT_FALSE(percentages.isEmpty());

    // The end: the set list is back with Backup Now, and "View Log" brought the log viewer forward.
    EXPECT_EQ(alerts.texts().last(), "Backup operation has completed. Click the 'View Log' button for details.");
    EXPECT_FALSE(backup.isBackupRunning());
    EXPECT_FALSE(page.isVisible());
    EXPECT_TRUE(page.backupButton()->isVisibleTo(&page));
    EXPECT_TRUE(page.backupButton()->isEnabled());
    EXPECT_TRUE(page.cleanupButton()->isVisibleTo(&page));
    EXPECT_FALSE(pane.isVisibleTo(&page));

    // The drive holds the folder as it is on the data drive.
    const QString dataRoot = backup.mBackupManager()->DestinationPath();
    EXPECT_TRUE(dataRoot.startsWith(volumes() + "/BackupDrive/TarnixVidezud/demo/")) << dataRoot.toStdString();
    for (const QString &file : sourceFiles())
        EXPECT_EQ(readText(dataRoot + file), readText(file)) << file.toStdString();

    // The viewer lists the session and shows its log with the files backed up.
    LogViewController &logs = *client->logTab.logs;
    const QString sessionLog = backup.mBackupSessionFilePath();
    ASSERT_TRUE(waitUntil(
        [&] {
            for (const LogNode &record : logs.records())
                if (record.logfile == sessionLog)
                    return logs.detailText().contains("deep.txt");
            return false;
        },
        20000))
        << sessionLog.toStdString();
    EXPECT_EQ(logs.records().first().status, "Success");
    EXPECT_EQ(logs.records().first().files.toInt(), sourceFiles().size());
    EXPECT_TRUE(logs.summaryText().contains(QString("Files backed up now: %1").arg(sourceFiles().size())))
        << logs.summaryText().toStdString();
    // What the programs wrote in the user's folders (sets, history, logs listing
    // every file backed up) is the user's alone.
    for (const QString &folder :
         {home() + "/.local/share/TarnixVidezud", home() + "/.config/TarnixVidezud", home() + "/.cache"})
        EXPECT_TRUE(openToOthers(folder).isEmpty()) << openToOthers(folder).join('\n').toStdString();
    // A few seconds after the end the sidebar measures the drive again.
    EXPECT_TRUE(waitUntil([&] { return !tabs.sidebar()->spaceUsedText().endsWith(" 0 B"); }, 15000))
        << tabs.sidebar()->spaceUsedText().toStdString();
}

TEST_F(BackupNowInTheWindowTest, TheAccountToldAgainDuringABackupLeavesTheSessionToItsEnd)
{
    // The account is told again at once after the click: the session need not be slow.
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", QVariantMap{{"lineDelayMs", 20}}));
    openLoggedIn(&alerts);
    check("DataDrive", "Documents");
    BackupViewController &backup = client->backup.controller();
    alerts.answers = {1, 0};  // proceed with BackupDrive; "OK" at the end
    client->backup.page()->backupButton()->click();
    ASSERT_TRUE(backup.isBackupRunning());
    const SessionDriver *running = backup.mBackupManager();

    // A sync confirmation tells the program of the account a second time.
    emit client->shell.mainController().accountDidChange();
    emit client->shell.mainController().accountDidChange();
    EXPECT_EQ(backup.mBackupManager(), running);
    EXPECT_TRUE(backup.isBackupRunning());

    ASSERT_TRUE(waitUntil([&] { return alerts.shown.size() >= 2; }, 120000)) << alerts.texts().join('\n').toStdString();
    EXPECT_EQ(alerts.texts().last(), "Backup operation has completed. Click the 'View Log' button for details.");
    EXPECT_TRUE(client->backup.page()->backupButton()->isEnabled());
    const QString dataRoot = backup.mBackupManager()->DestinationPath();
    for (const QString &file : sourceFiles())
        EXPECT_EQ(readText(dataRoot + file), readText(file)) << file.toStdString();
}
