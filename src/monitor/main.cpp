#include "common/texts/QLLocalizedString.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    window.show();
    return app.exec();
}
