#pragma once

#include "platform/PrivilegedRunner.h"
#include "uninstaller/loginitems/ZRLoginItemRegistry.h"
#include "uninstaller/removal/RemovalServices.h"
#include "uninstaller/removal/UninstallStep.h"

#include <QList>

// The removal on this machine: items go through the privileged runner, which
// may remove exactly the paths of the steps and nothing else; login items are
// the user's autostart entries.
class PlatformRemovalServices : public RemovalServices
{
public:
    // The verbs the removal needs, on exactly the paths the steps may remove
    // (with, for an installation, what its receipt lists).
    static PrivilegedAllowList allowListFor(const QList<UninstallStep> &steps);

    PlatformRemovalServices(PrivilegedRunner &runner, LoginItems &loginItems, QString probePath);

    // Asks for the rights by running a harmless check on one allowed path.
    bool authenticate() override;
    bool runsAsAdministrator() const override;
    QString removeItem(const QString &path) override;
    bool removeLoginItemWithPath(const QString &programPath) override;
    bool hasLoginItemWithPath(const QString &programPath) override;

    // The path the rights are first asked with: one the removal may act on.
    static QString probePathFor(const QList<UninstallStep> &steps);

private:
    PrivilegedRunner &mRunner;
    ZRLoginItemRegistry mLoginItems;
    QString mProbePath;
};
