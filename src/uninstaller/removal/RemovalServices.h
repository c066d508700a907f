#pragma once

#include <QString>

// What the removal asks of the machine: administrator rights, removal of an
// item with them, and the user's login items.
class RemovalServices
{
public:
    virtual ~RemovalServices() = default;

    // Obtains administrator rights, asking the user when they are not held yet.
    virtual bool authenticate() = 0;
    // True when this process itself runs with administrator rights (then the
    // programs of every user are stopped, not only the user's own).
    virtual bool runsAsAdministrator() const = 0;
    // Removes a file, link or folder with everything below it, with
    // administrator rights. Returns why it failed, or "" (also when nothing was there).
    virtual QString removeItem(const QString &path) = 0;
    // Removes the user's login items that start this program; false when there was none.
    virtual bool removeLoginItemWithPath(const QString &programPath) = 0;
    // True while a login item of the user starts this program.
    virtual bool hasLoginItemWithPath(const QString &programPath) = 0;
};
