#include "common/texts/QLLocalizedString.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    window.resize(900, 600);
    window.show();
    return app.exec();
}
