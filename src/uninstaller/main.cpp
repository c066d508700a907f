#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    QWidget window;
    window.setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    window.show();
    return app.exec();
}
