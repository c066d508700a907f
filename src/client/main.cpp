#include "client/shell/ProgramServices.h"
#include "client/shell/views/ClientWindows.h"
#include "common/context/ProgramContext.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    ClientWindows windows(programServices());
    windows.start();
    return app.exec();
}
