#include "LoggedInClientFixture.h"

#include "client/backup/now/BackupNowFakes.h"
#include "platform/PropertyList.h"
#include "support/IsolatedRerun.h"

#include <QFile>

// How a backup ends, as the user sees it in the window: a session that stored nothing is
// never announced as completed, and a drive that cannot be written is refused before a
// session starts.
class BackupEndsInTheWindowTest : public LoggedInClientFixture
{
protected:
    void SetUp() override
    {
        LoggedInClientFixture::SetUp();
        writeText(volumes() + "/DataDrive/Documents/report.txt", "report");
    }

    void TearDown() override
    {
        qunsetenv("TXRUVO_SCENARIO");
        LoggedInClientFixture::TearDown();
    }

    void useScenario(const QVariantMap &scenario)
    {
        ASSERT_TRUE(PropertyList::write(root() + "/scenario.plist", scenario));
        qputenv("TXRUVO_SCENARIO", (root() + "/scenario.plist").toUtf8());
    }

    // Clicks Backup Now with the folder checked, proceeds with the drive, and waits for the
    // session's end alert.
    void backUpDocuments()
    {
        openLoggedIn(&alerts);
        check("DataDrive", "Documents");
        alerts.answers = {1, 0};  // proceed with BackupDrive; "OK" at the end
        client->backup.page()->backupButton()->click();
        ASSERT_TRUE(waitUntil([&] { return alerts.shown.size() >= 2; }, 60000))
            << alerts.texts().join('\n').toStdString();
        ASSERT_TRUE(waitUntil([&] { return !client->backup.controller().isBackupRunning(); }));
    }

    ScriptedAlerts alerts;
};

TEST_F(BackupEndsInTheWindowTest, AnEngineThatFailsIsAnnouncedAsAFailureWithItsReason)
{
    useScenario({{"errorText", "account is under maintenance"}, {"stopMode", "exit"}, {"exitCode", 1}});
    backUpDocuments();
    const QString end = alerts.texts().last();
    EXPECT_TRUE(end.startsWith("Backup operation has failed")) << end.toStdString();
    EXPECT_FALSE(end.contains("completed")) << end.toStdString();
    EXPECT_TRUE(client->backup.page()->backupButton()->isEnabled());
}

TEST_F(BackupEndsInTheWindowTest, AFileTheEngineCouldNotStoreIsCounted)
{
    const QString failing = volumes() + "/DataDrive/Documents/report.txt";
    useScenario({{"failFiles", QVariantMap{{failing, "Permission denied"}}}});
    backUpDocuments();
    const QString end = alerts.texts().last();
    EXPECT_TRUE(end.contains("1 file(s) could not be backed up")) << end.toStdString();
}

TEST_F(BackupEndsInTheWindowTest, AReadOnlyDriveIsRefusedBeforeTheSessionStarts)
{
    if (rerunAsAnotherUser())
        return;
    QFile::setPermissions(volumes() + "/BackupDrive", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    openLoggedIn(&alerts);
    check("DataDrive", "Documents");
    alerts.answers = {1};  // proceed with BackupDrive
    client->backup.page()->backupButton()->click();
    EXPECT_FALSE(client->backup.controller().isBackupRunning());
    ASSERT_EQ(alerts.shown.size(), 2) << alerts.texts().join('\n').toStdString();
    EXPECT_EQ(alerts.shown[1].title, "Permission denied!");
    EXPECT_EQ(alerts.shown[1].message, "You do not have sufficient access rights for this volume. Please select "
                                       "another volume for local backup.");
    EXPECT_TRUE(client->backup.page()->backupButton()->isEnabled());
}
