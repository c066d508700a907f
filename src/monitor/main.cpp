#include "common/context/ProgramContext.h"

#include <QApplication>

// The tray program shows no window of its own; until its menu is built it only runs.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    return app.exec();
}
