#pragma once

#include <QList>
#include <QString>

// Finding and stopping the programs of this product by name (the monitor and
// the uninstaller stop the engine and each other with it).
namespace QLXExtension {

// Ids of the current user's processes whose program is exactly this name,
// in ascending order; never this process itself.
QList<qint64> getAllProcessIDsWithName(const QString &name);

// Asks every one of those processes to end.
void killAllProcessesWithName(const QString &name);

}  // namespace QLXExtension
