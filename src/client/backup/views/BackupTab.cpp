#include "client/backup/views/BackupTab.h"

#include "client/backup/views/BackupPageView.h"
#include "client/backup/views/LocalTreeView.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"

BackupTab::BackupTab(ClientShell &shell, AlertPresenter *alerts, const LocalVolumeLayout &layout)
    : backup(shell.mainController(), *shell.windows().tabViewController(), shell.windows().mainWindow(),
             alerts ? *alerts : shell.windows().alerts())
    , tree(shell.mainController(), backup.controller(), layout)
    , treeView(new LocalTreeView(tree.fileSystem().outlineModel()))
{
    backup.setTree(treeView, &tree, &tree);
    LocalTreeView::bindVolumesPopUp(*backup.page()->volumesPopUpButton(), tree.fileSystem().volumesPopUpButton());
    shell.windows().tabViewController()->setPageView(Tab::Backup, backup.page());
}
