#include "LoggedInClientFixture.h"

#include "client/backup/localtree/DestinationVolumes.h"
#include "client/backup/now/BackupNowFakes.h"
#include "common/files/TXSupportFileManager.h"

#include <QComboBox>

// The destination chooser on the Backup page never shows a drive other than the one the
// backup goes to.
class DestinationInTheWindowTest : public LoggedInClientFixture
{
protected:
    QComboBox &chooser() { return *client->backup.page()->volumesPopUpButton(); }
    ScriptedAlerts alerts;
};

TEST_F(DestinationInTheWindowTest, ARefusedChangeShowsTheOldDriveAgain)
{
    // Earlier backups on the chosen drive make the change a question.
    writeText(volumes() + "/BackupDrive/TarnixVidezud/demo/Office/a.txt", "a");
    writeText(volumes() + "/BackupDrive/TarnixVidezud/demo/Home/b.txt", "b");
    QDir().mkpath(volumes() + "/OtherDrive");
    openLoggedIn(&alerts);
    ASSERT_TRUE(waitUntil([&] { return chooser().findText("OtherDrive") >= 0; }));
    ASSERT_EQ(chooser().currentText(), "BackupDrive");

    QStringList question;
    answerNextPanel(1, &question);  // "No": keep the old drive
    chooser().setCurrentIndex(chooser().findText("OtherDrive"));
    emit chooser().textActivated("OtherDrive");
    EXPECT_TRUE(question.join('\n').contains("Do you want to change the local backup volume from 'BackupDrive' to "
                                             "'OtherDrive'"))
        << question.join('\n').toStdString();
    EXPECT_EQ(client->shell.mainController().currentDestinationDrive(), "BackupDrive");
    EXPECT_EQ(client->tree.fileSystem().volumesPopUpButton().selectedTitle(), "BackupDrive");
    EXPECT_EQ(chooser().currentText(), "BackupDrive");
}

TEST_F(DestinationInTheWindowTest, WhileTheDriveIsAwayTheChooserNamesNoOtherAndShowsItAgainWhenItIsBack)
{
    openLoggedIn(&alerts);
    ASSERT_TRUE(waitUntil([&] { return chooser().currentText() == "BackupDrive"; }));
    ASSERT_TRUE(QDir(volumes() + "/BackupDrive").removeRecursively());  // the drive is unplugged
    ASSERT_TRUE(waitUntil([&] { return chooser().findText("BackupDrive") < 0; }));
    EXPECT_EQ(client->shell.mainController().currentDestinationDrive(), "BackupDrive");
    EXPECT_TRUE(chooser().currentText().isEmpty()) << chooser().currentText().toStdString();

    QDir().mkpath(volumes() + "/BackupDrive");  // and plugged in again
    EXPECT_TRUE(waitUntil([&] { return chooser().currentText() == "BackupDrive"; }))
        << chooser().currentText().toStdString();
    EXPECT_EQ(client->shell.mainController().currentDestinationDrive(), "BackupDrive");
    EXPECT_TRUE(alerts.shown.isEmpty()) << alerts.texts().join('\n').toStdString();
}
