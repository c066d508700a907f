#pragma once

#include "platform/ItemRemoval.h"
#include "uninstaller/removal/RemovalServices.h"

#include <QFileInfo>
#include <QSet>
#include <QStringList>

// Removes for real, with the rights this process has, and records what it was
// asked; it can refuse the rights, fail chosen paths and keep login items.
class RecordingRemovalServices : public RemovalServices
{
public:
    bool grantsRights = true;
    QSet<QString> failingPaths;       // removal reports an error and leaves the item
    QSet<QString> silentlyKeptPaths;  // removal reports success but leaves the item
    QSet<QString> loginItems;         // program paths with a login item
    QSet<QString> stuckLoginItems;    // login items that stay

    int authentications = 0;
    QStringList removed;  // every path asked for, in order
    QStringList loginItemRemovals;

    bool authenticate() override
    {
        ++authentications;
        return grantsRights;
    }
    bool runsAsAdministrator() const override { return false; }
    QString removeItem(const QString &path) override
    {
        removed.append(path);
        if (failingPaths.contains(path))
            return QStringLiteral("Operation not permitted");
        if (!silentlyKeptPaths.contains(path))
            ItemRemoval::removeItemRecursively(path);
        return {};
    }
    bool removeLoginItemWithPath(const QString &programPath) override
    {
        loginItemRemovals.append(programPath);
        return stuckLoginItems.contains(programPath) ? false : loginItems.remove(programPath);
    }
    bool hasLoginItemWithPath(const QString &programPath) override { return loginItems.contains(programPath); }
};
