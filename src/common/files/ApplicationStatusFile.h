#pragma once

#include <QString>
#include <QVariantMap>

// The status plist (ApplicationStatusPath): who runs a backup right now. The
// client writes the interactive entry while its Backup Now runs, the daemon the
// scheduled one; the monitor reads both. Each entry holds a user name.
namespace ApplicationStatusFile {

inline const QString kIneractiveBackupStatusKey = QStringLiteral("Interactive");
inline const QString kSchedulerBackupStatusKey = QStringLiteral("Schedule");

// The file's entries; empty when it is missing or cannot be read.
QVariantMap read();

// Sets one entry to the user name, or removes it for an empty name, leaving the
// other entries as they are. Writers take turns through a lock file, so one
// writer's change is not lost to another's. False when the file was not written.
bool setEntry(const QString &key, const QString &userName);

}  // namespace ApplicationStatusFile
