#include "common/texts/QLLocalizedString.h"
#include "monitor/context/MonitorContext.h"
#include "monitor/views/MonitorProgram.h"
#include "platform/LoginItems.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // A tray program: closing its last window does not end it.
    app.setQuitOnLastWindowClosed(false);
    MonitorContext monitor;  // what the whole program shares, for as long as it runs
    // The monitor starts at every login from its first start on; an entry the user
    // changed or switched off is theirs and stays as it is. The uninstaller removes it.
    LoginItems loginItems;
    const QString loginItem = QLLocalizedString(QStringLiteral("MonitorExecName"));
    if (!loginItems.exists(loginItem))
        loginItems.add(loginItem, QLLocalizedString(QStringLiteral("MonitorExecPath")));
    MonitorProgram program(monitor);
    program.start();
    return app.exec();
}
