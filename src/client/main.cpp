#include "client/backup/views/BackupPage.h"
#include "client/backup/localtree/LocalTreeConnection.h"
#include "client/backup/views/BackupPageView.h"
#include "client/backup/views/LocalTreeView.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/context/ProgramContext.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    ClientShell shell;
    BackupPage backup(shell.mainController(), *shell.windows().tabViewController(), shell.windows().mainWindow());
    LocalTreeConnection tree(shell.mainController(), backup.controller());
    backup.setTree(new LocalTreeView(tree.fileSystem().outlineModel()), &tree, &tree);
    LocalTreeView::bindVolumesPopUp(*backup.page()->volumesPopUpButton(), tree.fileSystem().volumesPopUpButton());
    shell.windows().tabViewController()->setPageView(0, backup.page());
    shell.start();
    return app.exec();
}
