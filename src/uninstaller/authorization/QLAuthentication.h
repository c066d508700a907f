#pragma once

#include "platform/PrivilegedRunner.h"
#include "uninstaller/removal/UninstallStep.h"

#include <QList>
#include <QString>

// The uninstaller's administrator rights: it asks for them, and removes items
// with them through the privileged runner, which may act on exactly the paths
// of the removal steps (with, for an installation, what its receipt lists) and
// runs no shell. Processes need no rights of it: the uninstaller signals its
// own, and every user's when it runs as root.
class QLAuthentication
{
public:
    // The verbs the removal needs, on exactly the paths the steps may remove.
    static PrivilegedAllowList allowListFor(const QList<UninstallStep> &steps);
    // The path the rights are first asked with: one the removal may act on.
    static QString probePathFor(const QList<UninstallStep> &steps);

    QLAuthentication(PrivilegedRunner &runner, QString probePath)
        : mRunner(runner)
        , mProbePath(std::move(probePath))
    {}

    // Asks for the rights by running a harmless check on one allowed path.
    bool authenticate();
    // True when this process itself has the rights (root).
    static bool isAdministrator();
    // Removes the item with the rights. Returns why it failed, or "" (also when nothing was there).
    QString removeItem(const QString &path);

private:
    PrivilegedRunner &mRunner;
    QString mProbePath;
};
