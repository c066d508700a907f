#include "txruvo/VersionShelf.h"

#include "txruvo/CommandLine.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <dirent.h>

VersionShelf::VersionShelf(const DriveLayout &layout)
    : mLayout(layout)
{}

QString VersionShelf::versionsPathOf(const QString &itemPath, const QString &relativePath) const
{
    if (count(relativePath) > 0)
        return relativePath;
    return versionsPathOf(relativePath, Markers::readItem(DriveLayout::markerPath(itemPath)));
}

QString VersionShelf::versionsPathOf(const QString &relativePath,
                                     const std::optional<Markers::ItemRecord> &record) const
{
    if (count(relativePath) > 0)
        return relativePath;
    // A folder renamed on the drive leaves the versions under the path the
    // item was backed up from, which its marker keeps.
    if (record && !record->source.isEmpty()) {
        const QString backedUpFrom = mLayout.storedPathOf(foldSlashes('/' + record->source));
        if (count(backedUpFrom) > 0)
            return backedUpFrom;
    }
    return relativePath;
}

int VersionShelf::count(const QString &relativePath) const
{
    // The highest slot, not the first gap: a run killed while shifting
    // slots leaves a gap, and no later version may land on a used slot.
    return folderMayHaveVersions(Posix::parentOf(relativePath)) ? slotsInUse(relativePath) : 0;
}

int VersionShelf::slotsInUse(const QString &relativePath) const
{
    for (int slot = DriveLayout::kMaxVersions; slot >= 1; --slot) {
        if (Posix::exists(mLayout.versionPath(relativePath, slot)))
            return slot;
    }
    return 0;
}

QHash<QString, int> VersionShelf::slotsInFolder(const QString &relativeFolder) const
{
    static const QLatin1String kSlotMark(".qlvn");
    QHash<QString, int> slotsByName;
    if (!folderMayHaveVersions(relativeFolder))
        return slotsByName;
    DIR *folder = ::opendir(Posix::native(joinPath(mLayout.versionFolder(), relativeFolder)).constData());
    if (!folder)
        return slotsByName;
    while (const struct dirent *entry = ::readdir(folder)) {
        // "<stored name>.qlvnNNN"; a marker version ("<name>_.chk.qlvnNNN")
        // counts for a name no item has.
        const QString name = QFile::decodeName(entry->d_name);
        const qsizetype mark = name.lastIndexOf(kSlotMark);
        bool isNumber = false;
        const int slot = mark > 0 ? QStringView(name).sliced(mark + kSlotMark.size()).toInt(&isNumber) : 0;
        if (isNumber && slot >= 1 && slot <= DriveLayout::kMaxVersions) {
            int &highest = slotsByName[name.left(mark)];
            highest = std::max(highest, slot);
        }
    }
    ::closedir(folder);
    return slotsByName;
}

int VersionShelf::shelve(const QString &relativePath, const QByteArray &markerContent) const
{
    int used = count(relativePath);
    if (used == DriveLayout::kMaxVersions) {
        if (!makeRoom(relativePath))
            return -1;
        used = DriveLayout::kMaxVersions - 1;
    }
    const int slot = used + 1;
    const QString versionPath = mLayout.versionPath(relativePath, slot);
    if (!Posix::makeFolders(Posix::parentOf(versionPath)))
        return -1;
    {
        QMutexLocker locker(&mLock);
        mFoldersWithVersions.insert(Posix::parentOf(relativePath), true);
    }
    if (!Posix::linkOrMove(mLayout.itemPath(relativePath), versionPath))
        return -1;
    Posix::writeSmall(mLayout.markerVersionPath(relativePath, slot), markerContent);
    return slot;
}

bool VersionShelf::folderMayHaveVersions(const QString &relativeFolder) const
{
    if (!mLayout.hasVersions())
        return false;
    QMutexLocker locker(&mLock);
    auto known = mFoldersWithVersions.find(relativeFolder);
    if (known == mFoldersWithVersions.end())
        known = mFoldersWithVersions.insert(relativeFolder,
                                            Posix::exists(joinPath(mLayout.versionFolder(), relativeFolder)));
    return known.value();
}

bool VersionShelf::makeRoom(const QString &relativePath) const
{
    // Each step is one rename, so a kill leaves every version whole.
    for (int slot = 2; slot <= DriveLayout::kMaxVersions; ++slot) {
        const QString from = mLayout.versionPath(relativePath, slot);
        if (Posix::exists(from) &&
            std::rename(Posix::native(from).constData(),
                        Posix::native(mLayout.versionPath(relativePath, slot - 1)).constData()) != 0)
            return false;
        std::rename(Posix::native(mLayout.markerVersionPath(relativePath, slot)).constData(),
                    Posix::native(mLayout.markerVersionPath(relativePath, slot - 1)).constData());
    }
    return true;
}
