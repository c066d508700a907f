#include "client/backup/views/BackupTab.h"
#include "client/browser/views/RestoreTab.h"
#include "client/logs/views/LogTab.h"
#include "client/shell/views/frame/ClientShell.h"
#include "common/context/ProgramContext.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    ClientShell shell;
    BackupTab backupTab(shell);
    RestoreTab restoreTab(shell);
    LogTab logTab(shell);
    shell.start();
    return app.exec();
}
