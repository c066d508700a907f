#pragma once

#include "platform/LoginItems.h"

#include <QString>

// The user's login items by the program they start. A program is matched by
// the file it is; once that file is gone (the uninstaller removes the programs
// before their login items), by its path.
class ZRLoginItemRegistry
{
public:
    explicit ZRLoginItemRegistry(LoginItems &items)
        : mItems(items)
    {}

    // Removes every login item that starts the program; false when there was none.
    bool removeLoginItemWithPath(const QString &programPath);
    bool hasLoginItemWithPath(const QString &programPath) const;

private:
    LoginItems &mItems;
};
