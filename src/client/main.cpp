#include "client/shell/views/ClientWindows.h"
#include "client/shell/views/TXMainWindow.h"
#include "common/context/ProgramContext.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    ClientWindows windows;
    windows.mainWindow()->show();
    return app.exec();
}
