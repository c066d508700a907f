#include "LoggedInClientFixture.h"

#include "client/backup/now/BackupNowFakes.h"
#include "common/utility/QLUtility.h"

// The sidebar's space used on the drive comes from the account's index, which knows the size
// of every file it holds. The user's folder on the drive here also holds 4000 entries the
// index does not know: a walk of the drive, which pauses 10 ms after each entry, would take
// 40 s and count them. The walk measures only a drive without an index, until its first
// backup gives it one.
class SpaceUsedInTheWindowTest : public LoggedInClientFixture
{
protected:
    void SetUp() override
    {
        LoggedInClientFixture::SetUp();
        writeText(volumes() + "/DataDrive/Documents/a.txt", QByteArray(3000, 'a'));
        writeText(volumes() + "/DataDrive/Documents/b.txt", QByteArray(2000, 'b'));
        const QString elsewhere = volumes() + "/BackupDrive/TarnixVidezud/demo/Elsewhere";
        QDir().mkpath(elsewhere);
        for (int i = 0; i < 4000; ++i)
            writeText(elsewhere + QString("/f%1").arg(i), "x");
    }

    void backUp()
    {
        alerts.shown.clear();
        alerts.answers = {1, 0};  // proceed with BackupDrive; "OK" at the end
        client->backup.page()->backupButton()->click();
        ASSERT_TRUE(waitUntil([&] { return alerts.shown.size() >= 2; }, 60000))
            << alerts.texts().join('\n').toStdString();
    }

    // Waits until the sidebar shows the figure, well before a walk could end.
    bool shows(quint64 bytes)
    {
        const QString text = "Space used on your device: " + QLUtility::formatedFileSizeAsString(bytes);
        TXTabViewController &tabs = *client->shell.windows().tabViewController();
        const bool shown = waitUntil([&] { return tabs.sidebar()->spaceUsedText() == text; }, 25000);
        if (!shown)
            ADD_FAILURE() << tabs.sidebar()->spaceUsedText().toStdString() << " instead of " << text.toStdString();
        return shown;
    }

    ScriptedAlerts alerts;
};

TEST_F(SpaceUsedInTheWindowTest, AtEachStartAndAfterEachBackupTheFigureIsTheIndexTotal)
{
    openLoggedIn(&alerts);
    check("DataDrive", "Documents");
    backUp();

    // The next start: the index's 5000 bytes, not the walk's 9000.
    client.reset();
    openLoggedIn(&alerts);
    ASSERT_TRUE(shows(5000));

    // A few seconds after the next backup's end the figure counts what it stored.
    writeText(volumes() + "/DataDrive/Documents/c.txt", QByteArray(1000, 'c'));
    backUp();
    EXPECT_TRUE(shows(6000));
}

TEST_F(SpaceUsedInTheWindowTest, TheFirstBackupEndsTheWalkOfADriveWithoutAnIndex)
{
    openLoggedIn(&alerts);
    check("DataDrive", "Documents");
    backUp();
    EXPECT_TRUE(shows(5000));
}
