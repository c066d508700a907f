#include "LoggedInClientFixture.h"

#include "client/backup/now/BackupNowFakes.h"
#include "common/utility/QLUtility.h"

// The sidebar's space used on the drive comes from the account's index, which knows the size
// of every file it holds: once the drive has an index the figure shows at each start without
// waiting for a walk of the drive, which pauses after each entry (here the walk would take
// more than half a minute, and it is what measures a drive that has no index yet), and
// after each backup it counts what the backup stored.
class SpaceUsedInTheWindowTest : public LoggedInClientFixture
{};

TEST_F(SpaceUsedInTheWindowTest, OnceTheDriveHasAnIndexTheFigureIsItsTotal)
{
    writeText(volumes() + "/DataDrive/Documents/a.txt", QByteArray(3000, 'a'));
    writeText(volumes() + "/DataDrive/Documents/b.txt", QByteArray(2000, 'b'));
    // Entries in the user's folder on the drive that the index does not know: a walk counts
    // them and needs 10 ms for each.
    const QString elsewhere = volumes() + "/BackupDrive/TarnixVidezud/demo/Elsewhere";
    QDir().mkpath(elsewhere);
    for (int i = 0; i < 4000; ++i)
        writeText(elsewhere + QString("/f%1").arg(i), "x");

    ScriptedAlerts alerts;
    openLoggedIn(&alerts);
    check("DataDrive", "Documents");
    alerts.answers = {1, 0};  // proceed with BackupDrive; "OK" at the end
    client->backup.page()->backupButton()->click();
    ASSERT_TRUE(waitUntil([&] { return alerts.shown.size() >= 2; }, 60000)) << alerts.texts().join('\n').toStdString();

    const QString backedUp = client->backup.controller().mBackupManager()->DestinationPath();
    ASSERT_EQ(readText(backedUp + volumes() + "/DataDrive/Documents/b.txt").size(), 2000);

    // The next start: the index's 5000 bytes, not the walk's 9000.
    client.reset();
    openLoggedIn(&alerts);
    TXTabViewController &tabs = *client->shell.windows().tabViewController();
    const QString expected = "Space used on your device: " + QLUtility::formatedFileSizeAsString(5000);
    EXPECT_TRUE(waitUntil([&] { return tabs.spaceUsedText() == expected; }, 20000))
        << tabs.spaceUsedText().toStdString();

    // A few seconds after the next backup's end the figure counts what it stored.
    writeText(volumes() + "/DataDrive/Documents/c.txt", QByteArray(1000, 'c'));
    alerts.shown.clear();
    alerts.answers = {1, 0};
    client->backup.page()->backupButton()->click();
    ASSERT_TRUE(waitUntil([&] { return alerts.shown.size() >= 2; }, 60000)) << alerts.texts().join('\n').toStdString();
    const QString after = "Space used on your device: " + QLUtility::formatedFileSizeAsString(6000);
    EXPECT_TRUE(waitUntil([&] { return tabs.spaceUsedText() == after; }, 20000)) << tabs.spaceUsedText().toStdString();
}
