#pragma once

#include <QString>

// The files the daemon shares with the monitor and the client, by their text keys.
namespace DaemonFiles {

// A per-account file: the key's template filled with the user name, in one pass.
QString userFile(const QString &key, const QString &userName);

inline const QString kInteractiveKey = QStringLiteral("Interactive");
inline const QString kScheduleKey = QStringLiteral("Schedule");

}  // namespace DaemonFiles
