#include "LoggedInClientFixture.h"

#include "client/backup/now/BackupNowFakes.h"
#include "platform/PropertyList.h"

// The sidebar's backup/sync switch in the window: it stays still while a backup runs, and
// a switch brings the mode's own set and tree, so that Backup Now never sends the backup
// set to the sync destination (the driver of the mode: BackupNowTest).
class ModeSwitchInTheWindowTest : public LoggedInClientFixture
{
protected:
    void SetUp() override
    {
        LoggedInClientFixture::SetUp();
        for (int i = 0; i < 6; ++i)
            writeText(volumes() + QString("/DataDrive/Documents/file %1.txt").arg(i), "text");
    }

    void TearDown() override
    {
        qunsetenv("TXRUVO_SCENARIO");
        LoggedInClientFixture::TearDown();
    }

    TXTabViewController &tabs() { return *client->shell.windows().tabViewController(); }
    bool inBackupMode() { return client->shell.mainController().isAppInBackupMode(); }

    void openWithSwitch()
    {
        openLoggedIn(&alerts);
        tabs().sidebar()->showSwitchMode();  // shown once a sync account is confirmed
    }

    ScriptedAlerts alerts;
};

TEST_F(ModeSwitchInTheWindowTest, TheSwitchStaysStillWhileABackupRuns)
{
    ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", QVariantMap{{"lineDelayMs", 400}}));
    qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    openWithSwitch();
    check("DataDrive", "Documents");
    alerts.answers = {1, 0};  // proceed with BackupDrive; "OK" at the end
    client->backup.page()->backupButton()->click();
    ASSERT_TRUE(client->backup.controller().isBackupRunning());

    tabs().sidebar()->switchModeButton()->click();
    EXPECT_TRUE(inBackupMode());
    EXPECT_TRUE(client->backup.controller().isBackupRunning());

    ASSERT_TRUE(waitUntil([&] { return alerts.shown.size() >= 2; }, 60000));  // the end's alert
    tabs().sidebar()->switchModeButton()->click();
    EXPECT_FALSE(inBackupMode());
}

TEST_F(ModeSwitchInTheWindowTest, EachModeHasItsOwnSet)
{
    openWithSwitch();
    check("DataDrive", "Documents");
    BackupViewController &backup = client->backup.controller();
    const QString backupSetFile = backup.backupSetFilePath();

    tabs().sidebar()->switchModeButton()->click();
    ASSERT_FALSE(inBackupMode());
    EXPECT_NE(backup.backupSetFilePath(), backupSetFile);
    EXPECT_FALSE(backup.backupSet().contains(volumes() + "/DataDrive/Documents"));
    QAbstractItemModel &model = *client->treeView->model();
    const QModelIndex documents = childNamed(model, childNamed(model, {}, "DataDrive"), "Documents");
    EXPECT_TRUE(waitUntil([&] { return documents.data(Qt::CheckStateRole).toInt() == Qt::Unchecked; }));

    tabs().sidebar()->switchModeButton()->click();
    ASSERT_TRUE(inBackupMode());
    EXPECT_EQ(backup.backupSetFilePath(), backupSetFile);
    EXPECT_TRUE(backup.backupSet().contains(volumes() + "/DataDrive/Documents"));
}
