#pragma once

#include <QString>

// Keys of the user's sync-details plist ("SyncDetailsFilePath"): the sync
// service's answer about the sync account, with the account's name and the
// engine's form of its password added.
namespace SyncDetailsKeys {

inline const QString kSyncUserName = QStringLiteral("syncUserName");
inline const QString kSyncEncodedPassword = QStringLiteral("syncEncodedPassword");
// The storage server of the sync account.
inline const QString kRuvoServerIP = QStringLiteral("ruvosrvrip");

}  // namespace SyncDetailsKeys
