#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "platform/LoginItems.h"

#include <QApplication>

// The tray program shows no window of its own; until its menu is built it only runs.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;  // what the whole program shares, for as long as it runs
    // The monitor starts at every login from its first start on; an entry the user
    // changed or switched off is theirs and stays as it is. The uninstaller removes it.
    LoginItems loginItems;
    const QString loginItem = QLLocalizedString(QStringLiteral("MonitorExecName"));
    if (!loginItems.exists(loginItem))
        loginItems.add(loginItem, QLLocalizedString(QStringLiteral("MonitorExecPath")));
    return app.exec();
}
