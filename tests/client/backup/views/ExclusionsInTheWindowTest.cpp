#include "LoggedInClientFixture.h"

#include "client/backup/localtree/LocalTreeModel.h"
#include "client/backup/now/BackupNowFakes.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QAction>
#include <QFile>
#include <QMenu>

// Exclusions as the user makes them in the window's tree while the monitor is not running:
// the monitor's preference file (which the backup's filter reads) holds them, a refused
// write leaves the row as it was and says so, and the stored ones show at login.
class ExclusionsInTheWindowTest : public LoggedInClientFixture
{
protected:
    void SetUp() override
    {
        LoggedInClientFixture::SetUp();
        writeText(volumes() + "/DataDrive/Documents/report.txt", "report");
        writeText(volumes() + "/DataDrive/Documents/Private/secret.txt", "secret");
    }

    static QString preferenceFile()
    {
        return PathStandardizer::standardizePath(QLLocalizedString("MonitorPreferencePath"));
    }

    QModelIndex row(const QString &volume, const QStringList &names)
    {
        QAbstractItemModel &model = *client->treeView->model();
        QModelIndex index = childNamed(model, {}, volume);
        for (const QString &name : names)
            index = childNamed(model, index, name);
        return index;
    }

    // Logged in, while the monitor is away (whatever else runs on this machine).
    void openWithoutMonitor()
    {
        open(&alerts);
        client->tree.fileSystem().setMonitorProbe([] { return false; });
        logIn();
    }

    static bool isShownExcluded(const QModelIndex &index)
    {
        return index.data(LocalTreeModel::IsExcludedRole).toBool();
    }

    // Picks the exclusion item of the row's context menu.
    void excludeByMenu(const QModelIndex &index, const QString &expectedTitle)
    {
        QMenu *menu = client->treeView->contextMenuFor(index);
        ASSERT_TRUE(menu);
        ASSERT_EQ(menu->actions().size(), 2);
        EXPECT_TRUE(menu->actions()[0]->isEnabled());  // "Refresh" for a folder
        ASSERT_EQ(menu->actions()[1]->text(), expectedTitle);
        menu->actions()[1]->trigger();
    }

    ScriptedAlerts alerts;
};

TEST_F(ExclusionsInTheWindowTest, AFolderExcludedInTheTreeStaysOffTheDrive)
{
    ASSERT_FALSE(QFile::exists(preferenceFile()));
    openWithoutMonitor();
    check("DataDrive", "Documents");
    const QModelIndex privateRow = row("DataDrive", {"Documents", "Private"});
    ASSERT_TRUE(privateRow.isValid());
    excludeByMenu(privateRow, "Exclude this folder from backup");
    EXPECT_TRUE(isShownExcluded(row("DataDrive", {"Documents", "Private"})));
    const QString storedPath =
        client->tree.fileSystem().layout().storedForm(volumes() + "/DataDrive/Documents/Private");
    EXPECT_EQ(MonitorExclusionPreferences::userSpecifiedExclusions("demo"), QStringList{storedPath});

    alerts.answers = {1, 0};  // proceed with BackupDrive; "OK" at the end
    client->backup.page()->backupButton()->click();
    ASSERT_TRUE(waitUntil([&] { return alerts.shown.size() >= 2; }, 60000)) << alerts.texts().join('\n').toStdString();
    const QString dataRoot = client->backup.controller().mBackupManager()->DestinationPath();
    EXPECT_EQ(readText(dataRoot + volumes() + "/DataDrive/Documents/report.txt"), "report");
    EXPECT_FALSE(QFile::exists(dataRoot + volumes() + "/DataDrive/Documents/Private/secret.txt"));

    // Included again by the same menu, whose item now says so.
    excludeByMenu(row("DataDrive", {"Documents", "Private"}), "Remove this folder from exclude");
    EXPECT_FALSE(isShownExcluded(row("DataDrive", {"Documents", "Private"})));
    EXPECT_TRUE(MonitorExclusionPreferences::userSpecifiedExclusions("demo").isEmpty());
}

TEST_F(ExclusionsInTheWindowTest, AnExclusionThatCannotBeWrittenIsNotShownAndTheUserIsTold)
{
    QDir().mkpath(preferenceFile());  // a folder where the file belongs: no write can succeed
    openWithoutMonitor();
    const QModelIndex music = row("DataDrive", {"Music"});
    ASSERT_TRUE(music.isValid());
    excludeByMenu(music, "Exclude this folder from backup");
    EXPECT_FALSE(isShownExcluded(row("DataDrive", {"Music"})));
    EXPECT_TRUE(client->tree.fileSystem().userSpecifiedExclusion().isEmpty());
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_TRUE(alerts.shown[0].message.contains("could not be saved")) << alerts.shown[0].message.toStdString();
}

TEST_F(ExclusionsInTheWindowTest, TheUsersStoredExclusionsShowAtLogin)
{
    open(&alerts);
    const QString music = client->tree.fileSystem().layout().storedForm(volumes() + "/DataDrive/Music");
    const QString documents = client->tree.fileSystem().layout().storedForm(volumes() + "/DataDrive/Documents");
    const QVariantMap exclusions{{music, 1}, {documents, 0}};
    ASSERT_TRUE(PropertyList::write(
        preferenceFile(),
        QVariantMap{{"demo", QVariantMap{{MonitorExclusionPreferences::kUserSpecifiedExclusion, exclusions}}}}));
    logIn();
    EXPECT_EQ(client->tree.fileSystem().userSpecifiedExclusion(), QStringList{music});
    EXPECT_TRUE(waitUntil([&] { return isShownExcluded(row("DataDrive", {"Music"})); }));
    EXPECT_FALSE(isShownExcluded(row("DataDrive", {"Documents"})));
}
