#pragma once

#include <QString>

// Facts about mounted volumes.
namespace VolumeFacts {

// True when the path names the top folder of the start-up (root) file system:
// "/" itself, or an entry of the volumes root that leads to it.
bool isStartupVolume(const QString &path);

// Capacity minus free bytes of the file system that holds the path; 0 when it
// cannot be examined.
quint64 usedBytes(const QString &path);

// True when the file system holding the path lives on a block device that
// hangs on a USB bus, as sysfs shows it under <sysRoot>/dev/block/<major:minor>.
// Anything that cannot be told (no such path, no block device behind the file
// system, no sysfs entry) answers false.
bool isConnectedViaUsb(const QString &path, const QString &sysRoot = QStringLiteral("/sys"));

}  // namespace VolumeFacts
