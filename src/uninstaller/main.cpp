#include "common/context/ProgramContext.h"
#include "uninstaller/views/UninstallerProgram.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    UninstallerProgram uninstaller;
    uninstaller.show();
    return app.exec();
}
