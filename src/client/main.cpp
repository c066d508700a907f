#include "client/shell/views/ClientWindows.h"
#include "client/shell/views/TXMainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ClientWindows windows;
    windows.mainWindow()->show();
    return app.exec();
}
