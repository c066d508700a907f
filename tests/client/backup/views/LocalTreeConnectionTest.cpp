#include "LoggedInClientFixture.h"

#include "client/backup/localtree/DestinationVolumes.h"
#include "client/backup/localtree/FileSystemController.h"
#include "client/backup/localtree/LocalTreeModel.h"
#include "client/common/tree/TreeViewNode.h"
#include "common/backupset/BackupSetFiles.h"

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

// The tree lists itself from the start, before the login loads the account's set.
TEST_F(LocalTreeConnectionTest, TheSavedSetShowsCheckedAfterLoginAndUncheckingTakesItOut)
{
    QDir().mkpath(root() + "/startup/home/demo/Documents");
    const QString documents = "/home/demo/Documents";  // as the set file names the start-up disk's items
    const QString setFile = BackupSetFiles("demo", true).pathForDataFile();
    ASSERT_TRUE(BackupSetFiles::writeList(setFile, {documents}));

    open();
    FileSystemController &fileSystem = client->tree.fileSystem();
    const QString treePath = fileSystem.layout().treePath(documents);
    ASSERT_TRUE(waitUntil([&] { return fileSystem.mController().nodeForPath(treePath) != nullptr; }));
    logIn();

    LocalTreeModel &model = fileSystem.outlineModel();
    const auto shownState = [&] {
        TreeViewNode *node = fileSystem.mController().nodeForPath(treePath);
        return node ? model.indexForNode(node).data(Qt::CheckStateRole).toInt() : -1;
    };
    EXPECT_TRUE(waitUntil([&] { return shownState() == Qt::Checked; })) << shownState();

    const QModelIndex shown = model.indexForNode(fileSystem.mController().nodeForPath(treePath));
    ASSERT_TRUE(model.setData(shown, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_TRUE(waitUntil([&] {
        return !BackupSetFiles::readList(setFile).value_or(QStringList{documents}).contains(documents);
    })) << BackupSetFiles::readList(setFile).value_or(QStringList()).join(", ").toStdString();
}
