#include "common/utility/QLUtility.h"

#include "platform/PathRoots.h"
#include "platform/VolumeFacts.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QThread>

QStringList QLUtility::listMountedVolumesPaths()
{
    const QDir root(PathRoots::volumesRoot());
    QStringList paths;
    for (const QString &name : root.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = root.filePath(name);
        paths.append(VolumeFacts::isStartupVolume(path) ? QStringLiteral("/") : path);
    }
    return paths;
}

QStringList QLUtility::timeMachineFolders()
{
    QStringList folders;
    for (const QString &volume : listMountedVolumesPaths()) {
        const QString folder =
            (volume == QLatin1String("/") ? QString() : volume) + QStringLiteral("/Backups.backupdb");
        if (QFileInfo(folder).isDir())
            folders.append(folder);
    }
    return folders;
}

bool QLUtility::isConnectedViaUSB(const QString &volumePath) { return VolumeFacts::isConnectedViaUsb(volumePath); }

quint64 QLUtility::calculateSizeOfFile(const QString &path, std::chrono::microseconds pause,
                                       const std::atomic<bool> *stop)
{
    if (!isDirectory(path))
        return isFileExists(path) ? quint64(QFileInfo(path).size()) : 0;
    // A whole volume is measured, not walked; a volume path with a trailing
    // separator is not a listed volume path and is walked.
    if (path == QLatin1String("/") || listMountedVolumesPaths().contains(path))
        return VolumeFacts::usedBytes(path);

    // Links are not followed, so the walk stays inside the folder and cannot
    // loop; folders that cannot be read are skipped.
    quint64 total = 0;
    QDirIterator walk(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext() && !(stop && stop->load())) {
        walk.next();
        const QFileInfo entry = walk.fileInfo();
        if (entry.isFile() && !entry.isSymLink())
            total += quint64(entry.size());
        if (pause.count() > 0)
            QThread::usleep(quint64(pause.count()));
    }
    return total;
}
