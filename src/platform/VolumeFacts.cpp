#include "platform/VolumeFacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>
#include <optional>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace VolumeFacts {
namespace {

std::optional<struct stat> statOf(const QString &path)
{
    struct stat info
    {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return info;
}

}  // namespace

bool isStartupVolume(const QString &path)
{
    const auto candidate = statOf(path);
    const auto root = statOf(QStringLiteral("/"));
    return candidate && root && candidate->st_dev == root->st_dev && candidate->st_ino == root->st_ino;
}

quint64 usedBytes(const QString &path)
{
    const QStorageInfo storage(path);
    if (!storage.isValid() || storage.bytesTotal() < 0 || storage.bytesFree() < 0)
        return 0;
    return storage.bytesTotal() > storage.bytesFree() ? quint64(storage.bytesTotal() - storage.bytesFree()) : 0;
}

bool isConnectedViaUsb(const QString &path, const QString &sysRoot)
{
    const auto info = statOf(path);
    if (!info)
        return false;
    const QString device = QStringLiteral("%1:%2").arg(major(info->st_dev)).arg(minor(info->st_dev));
    // The entry leads to the device's place in the device tree, such as
    // .../usb2/2-1/2-1:1.0/host6/.../block/sdb/sdb1 for a partition of a USB disk.
    const QString devicePath = QFileInfo(sysRoot + "/dev/block/" + device).canonicalFilePath();
    if (devicePath.isEmpty())
        return false;
    static const QRegularExpression kUsbBus(QStringLiteral("^usb\\d+$"));
    const QStringList components =
        devicePath.mid(QDir::cleanPath(QFileInfo(sysRoot).canonicalFilePath()).size()).split('/', Qt::SkipEmptyParts);
    return std::any_of(components.cbegin(), components.cend(),
                       [](const QString &component) { return kUsbBus.match(component).hasMatch(); });
}

}  // namespace VolumeFacts
