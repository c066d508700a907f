#pragma once

#include <QString>

// Class-level helpers shared by every part of the client. It keeps no state:
// each operation reads what it needs at each call.
class QLUtility
{
public:
    QLUtility() = delete;

    // Backup mode unless the user's mode file exists and holds a false value ("0").
    static bool isAppInBackupMode(const QString &userName);

    // "syncUserName" of the user's sync-details plist; null when there is none.
    static QString getSyncUserName(const QString &userName);
};
