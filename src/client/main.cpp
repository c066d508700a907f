#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    QMainWindow window;
    window.setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    window.resize(900, 600);
    window.show();
    return app.exec();
}
