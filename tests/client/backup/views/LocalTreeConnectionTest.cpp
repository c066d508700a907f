#include "LoggedInClientFixture.h"

#include "client/backup/BackupSetFiles.h"
#include "client/backup/DestinationVolumes.h"

using LocalTreeConnectionTest = LoggedInClientFixture;

TEST_F(LocalTreeConnectionTest, ACheckedFolderIsSavedAsTheSetAndTheChosenDriveIsTheDestination)
{
    openLoggedIn();
    QComboBox &popUp = *client->backup.page()->volumesPopUpButton();

    // The chooser lists the drives and shows the destination of the account.
    EXPECT_TRUE(waitUntil([&] { return popUp.findText("DataDrive") >= 0 && popUp.findText("BackupDrive") >= 0; }));
    EXPECT_EQ(popUp.currentText(), "BackupDrive");
    EXPECT_EQ(client->tree.selectedVolumeTitle(), "BackupDrive");
    EXPECT_EQ(client->shell.mainController().currentDestinationDrive(), "BackupDrive");

    // Checking a folder in the tree saves the set for Backup Now.
    check("DataDrive", "Documents");
    const QString setFile = client->tree.fileSystem().pathForDataFile();
    EXPECT_TRUE(BackupSetFiles::readList(setFile).value_or(QStringList()).contains(volumes() + "/DataDrive/Documents"));

    client->treeView->window()->resize(900, 600);
    if (qEnvironmentVariableIsSet("TX_SCREENSHOT_DIR"))
        client->backup.page()->grab().save(qEnvironmentVariable("TX_SCREENSHOT_DIR") + "/backup-tree.png");
}
