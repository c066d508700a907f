#include "client/backup/views/BackupTab.h"

#include "client/backup/localtree/DestinationVolumes.h"
#include "client/backup/views/BackupPageView.h"
#include "client/backup/views/LocalTreeView.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "desktop/alerts/AlertPresenter.h"

#include <QFileInfo>

BackupTab::BackupTab(ClientShell &shell, AlertPresenter *alerts, const LocalVolumeLayout &layout)
    : backup(shell.mainController(), *shell.windows().tabViewController(), shell.windows().mainWindow(),
             alerts ? *alerts : shell.windows().alerts())
    , tree(shell.mainController(), backup.controller(), layout)
    , treeView(new LocalTreeView(tree.fileSystem().outlineModel()))
{
    backup.setTree(treeView, &tree, &tree);
    treeView->setContextActions(tree.fileSystem());
    ClientWindows &windows = shell.windows();
    QObject::connect(&backup.controller(), &BackupViewController::backupRunningChanged, &windows,
                     &ClientWindows::setBackupRunning);
    DestinationVolumes &chooser = tree.fileSystem().volumesPopUpButton();
    QObject::connect(&windows, &ClientWindows::destinationShown, &chooser, [&chooser](const QString &volumePath) {
        if (!volumePath.isEmpty())
            chooser.selectTitle(QFileInfo(volumePath).fileName());
    });
    AlertPresenter &messages = alerts ? *alerts : shell.windows().alerts();
    QObject::connect(&tree.fileSystem(), &FileSystemController::exclusionNotSaved, &tree.fileSystem(),
                     [&messages](const QString &path) {
                         messages.inform(QStringLiteral("The exclusion of '%1' could not be saved, so it is still "
                                                        "backed up. Please check that your preferences folder can "
                                                        "be written.")
                                             .arg(path));
                     });
    LocalTreeView::bindVolumesPopUp(*backup.page()->volumesPopUpButton(), tree.fileSystem().volumesPopUpButton());
    shell.windows().tabViewController()->setPageView(Tab::Backup, backup.page());
}
