#include "client/backup/BackupSetFiles.h"
#include "client/backup/DestinationVolumes.h"
#include "client/backup/LocalTreeConnection.h"
#include "client/backup/views/BackupPage.h"
#include "client/backup/views/BackupPageView.h"
#include "client/backup/views/LocalTreeView.h"
#include "client/shell/ProgramServices.h"
#include "client/shell/TXMainController.h"
#include "client/shell/views/ClientShell.h"
#include "client/shell/views/ClientWindows.h"
#include "client/shell/views/LoginFormView.h"
#include "client/shell/views/LoginWindows.h"
#include "client/shell/views/TXMainWindow.h"
#include "client/shell/views/TXTabViewController.h"
#include "common/files/TXSupportFileManager.h"
#include "support/SandboxFixture.h"
#include "support/WebServiceStandIn.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The client as main.cpp puts it together, logged in against the stand-in web
// service, with the Backup tab's local tree over a sandbox start-up disk and
// two drives: DataDrive (what is backed up) and BackupDrive (the destination).
class LocalTreeConnectionTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        service = WebServiceStandIn::startForClient(root() + "/webservice", WebServiceStandIn::demoAccount());
        ASSERT_TRUE(service);
        QDir().mkpath(volumes() + "/BackupDrive");
        QDir().mkpath(volumes() + "/DataDrive/Documents");
        QDir().mkpath(volumes() + "/DataDrive/Music");
        QDir().mkpath(root() + "/startup/home/demo");
        TXSupportFileManager::txFileManager().setTarnixUserName("demo");
        writeText(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath),
                  QString(volumes() + "/BackupDrive").toUtf8());
    }

    static bool waitUntil(const std::function<bool()> &condition)
    {
        QDeadlineTimer deadline(10000);
        while (!condition() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }

    // The row named name under parent, listing the parent first; invalid when it never shows.
    static QModelIndex childNamed(QAbstractItemModel &model, const QModelIndex &parent, const QString &name)
    {
        if (model.canFetchMore(parent))
            model.fetchMore(parent);
        QModelIndex found;
        waitUntil([&] {
            for (int row = 0; row < model.rowCount(parent); ++row) {
                const QModelIndex child = model.index(row, 0, parent);
                if (child.data(Qt::DisplayRole).toString() == name)
                    found = child;
            }
            return found.isValid();
        });
        return found;
    }

    std::unique_ptr<WebServiceStandIn> service;
};

}  // namespace

TEST_F(LocalTreeConnectionTest, ACheckedFolderIsSavedAsTheSetAndTheChosenDriveIsTheDestination)
{
    TXMainControllerServices services = ProgramServices::programServices();
    services.startProgram = {};
    ClientShell shell(services);
    BackupPage backup(shell.mainController(), *shell.windows().tabViewController(), shell.windows().mainWindow());
    const LocalVolumeLayout layout{volumes(), root() + "/startup", "Startup", root() + "/startup/home/demo"};
    LocalTreeConnection tree(shell.mainController(), backup.controller(), layout);
    auto *treeView = new LocalTreeView(tree.fileSystem().outlineModel());
    backup.setTree(treeView, &tree, &tree);
    QComboBox &popUp = *backup.page()->volumesPopUpButton();
    LocalTreeView::bindVolumesPopUp(popUp, tree.fileSystem().volumesPopUpButton());
    shell.windows().tabViewController()->setPageView(0, backup.page());
    shell.start();

    LoginFormView *form = shell.loginWindows().loginForm();
    form->mUserNameTextField->setText("demo");
    form->mSecureTextField->setText("demo password");
    form->mLoginButton->click();
    ASSERT_TRUE(waitUntil([&] { return shell.mainController().isLoggedIn(); }));

    // The chooser lists the drives and shows the destination of the account.
    EXPECT_TRUE(waitUntil([&] { return popUp.findText("DataDrive") >= 0 && popUp.findText("BackupDrive") >= 0; }));
    EXPECT_EQ(popUp.currentText(), "BackupDrive");
    EXPECT_EQ(tree.selectedVolumeTitle(), "BackupDrive");
    EXPECT_EQ(shell.mainController().currentDestinationDrive(), "BackupDrive");

    // Checking a folder in the tree saves the set for Backup Now.
    QAbstractItemModel &model = *treeView->model();
    const QModelIndex documents = childNamed(model, childNamed(model, {}, "DataDrive"), "Documents");
    ASSERT_TRUE(documents.isValid());
    ASSERT_TRUE(model.setData(documents, Qt::Checked, Qt::CheckStateRole));
    const QString setFile = tree.fileSystem().pathForDataFile();
    const QString folder = volumes() + "/DataDrive/Documents";
    EXPECT_TRUE(waitUntil([&] { return BackupSetFiles::readList(setFile).value_or(QStringList()).contains(folder); }));
    EXPECT_TRUE(backup.controller().backupSet().contains(folder)) << backup.controller().backupSet().join(", ").toStdString();

    treeView->window()->resize(900, 600);
    if (qEnvironmentVariableIsSet("TX_SCREENSHOT_DIR"))
        backup.page()->grab().save(qEnvironmentVariable("TX_SCREENSHOT_DIR") + "/backup-tree.png");
}
