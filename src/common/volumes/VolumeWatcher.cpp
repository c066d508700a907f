#include "common/volumes/VolumeWatcher.h"

#include <QDir>
#include <QFileInfo>

VolumeWatcher::VolumeWatcher(const QString &volumesRoot, QObject *parent)
    : QObject(parent)
    , mVolumesRoot(volumesRoot)
{
    connect(&mWatcher, &QFileSystemWatcher::directoryChanged, this, &VolumeWatcher::rescan);
}

QStringList VolumeWatcher::volumeNames(const QString &volumesRoot)
{
    QStringList names;
    const QDir root(volumesRoot);
    for (const QString &name : root.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        if (name != QLatin1String(".DS_Store") && QFileInfo(root.filePath(name)).isDir())
            names.append(name);
    }
    return names;
}

void VolumeWatcher::start()
{
    if (mStarted)
        return;
    mStarted = true;
    const QStringList names = volumeNames(mVolumesRoot);
    mKnown = QSet<QString>(names.begin(), names.end());
    watchRoot();
}

void VolumeWatcher::watchRoot()
{
    // The volumes root may appear only with the first drive, so its parent is watched too.
    const QStringList folders{mVolumesRoot, QFileInfo(mVolumesRoot).path()};
    for (const QString &folder : folders) {
        if (QFileInfo(folder).isDir() && !mWatcher.directories().contains(folder))
            mWatcher.addPath(folder);
    }
}

void VolumeWatcher::rescan()
{
    watchRoot();
    const QStringList names = volumeNames(mVolumesRoot);
    const QSet<QString> now(names.begin(), names.end());
    QStringList gone(mKnown.begin(), mKnown.end());
    gone.sort();
    for (const QString &name : std::as_const(gone)) {
        if (!now.contains(name))
            emit volumeUnmounted(mVolumesRoot + '/' + name);
    }
    for (const QString &name : names) {
        if (!mKnown.contains(name))
            emit volumeMounted(mVolumesRoot + '/' + name);
    }
    mKnown = now;
}
