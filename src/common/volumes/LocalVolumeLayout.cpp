#include "common/volumes/LocalVolumeLayout.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/PathRoots.h"
#include "platform/VolumeFacts.h"

#include <QDir>
#include <QStorageInfo>

namespace {

bool isSameOrBelow(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder == QLatin1String("/") ? folder : folder + '/');
}

// The rest of a path below a folder, with its leading "/"; "" for the folder itself.
QString remainderBelow(const QString &path, const QString &folder)
{
    return folder == QLatin1String("/") ? (path == folder ? QString() : path) : path.mid(folder.size());
}

QString joined(const QString &folder, const QString &remainder)
{
    if (remainder.isEmpty())
        return folder;
    return folder == QLatin1String("/") ? remainder : folder + remainder;
}

// The name the start-up disk goes by: the entry of the volumes root that leads
// to it when there is one, else the root file system's label, else "Computer".
QString startupVolumeName(const QString &volumesRoot)
{
    const QDir root(volumesRoot);
    for (const QString &name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (VolumeFacts::isStartupVolume(root.filePath(name)))
            return name;
    }
    const QString label = QStorageInfo::root().name();
    return label.isEmpty() || label.contains('/') ? QLLocalizedString(QStringLiteral("Computer")) : label;
}

}  // namespace

LocalVolumeLayout LocalVolumeLayout::current()
{
    const QString volumes = PathRoots::volumesRoot();
    return {volumes, QStringLiteral("/"), startupVolumeName(volumes), PathRoots::homeFolder()};
}

QString LocalVolumeLayout::startupVolumePath() const { return volumesRoot + '/' + startupName; }

bool LocalVolumeLayout::isUnderVolumesRoot(const QString &path) const { return isSameOrBelow(path, volumesRoot); }

bool LocalVolumeLayout::isOnStartupVolume(const QString &treePath) const
{
    return isSameOrBelow(treePath, startupVolumePath());
}

QString LocalVolumeLayout::storedForm(const QString &treePath) const
{
    if (!isOnStartupVolume(treePath))
        return treePath;
    const QString remainder = remainderBelow(treePath, startupVolumePath());
    return remainder.isEmpty() ? QStringLiteral("/") : remainder;
}

QString LocalVolumeLayout::treePath(const QString &storedPath) const
{
    if (storedPath == QLatin1String("/"))
        return startupVolumePath();
    if (isUnderVolumesRoot(storedPath))
        return storedPath;
    return startupVolumePath() + storedPath;
}

QString LocalVolumeLayout::diskPath(const QString &treePath) const
{
    if (!isOnStartupVolume(treePath))
        return treePath;
    return joined(startupRoot, remainderBelow(treePath, startupVolumePath()));
}

QString LocalVolumeLayout::treePathOfDiskPath(const QString &diskPath) const
{
    if (isUnderVolumesRoot(diskPath) || !isSameOrBelow(diskPath, startupRoot))
        return diskPath;
    return startupVolumePath() + remainderBelow(diskPath, startupRoot);
}

QString LocalVolumeLayout::homeTreePath() const { return treePathOfDiskPath(QDir::cleanPath(homeFolder)); }
