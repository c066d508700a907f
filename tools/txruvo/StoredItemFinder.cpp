#include "txruvo/StoredItemFinder.h"

#include "txruvo/CommandLine.h"
#include "txruvo/DriveLayout.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"

#include <dirent.h>

namespace {

bool isStoredFile(const QString &path)
{
    struct stat status {};
    return Posix::lstatPath(path, &status) && S_ISREG(status.st_mode);
}

bool markerNames(const QString &markerPath, const QString &encName)
{
    const std::optional<Markers::ItemRecord> record = Markers::readItem(markerPath);
    return record && record->encName == encName;
}

}  // namespace

StoredItemFinder::StoredItemFinder(QString computerFolder, QString skipFolder)
    : mComputerFolder(std::move(computerFolder))
    , mSkipFolder(std::move(skipFolder))
{
}

std::optional<QString> StoredItemFinder::find(const QString &folderId, const QString &encName)
{
    if (!mIndexed) {
        indexFolders(mComputerFolder);
        mIndexed = true;
    }
    const auto folder = mFolders.constFind(folderId);
    if (folder == mFolders.cend())
        return std::nullopt;
    return findInFolder(folder.value(), encName);
}

void StoredItemFinder::indexFolders(const QString &folder)
{
    if (std::optional<QString> id = Markers::readFolderId(folder))
        mFolders.insert(*id, folder);
    DIR *listing = ::opendir(Posix::native(folder).constData());
    if (!listing)
        return;
    QStringList children;
    while (const dirent *entry = ::readdir(listing)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        const QString child = joinPath(folder, name);
        struct stat status {};
        const bool isFolder = entry->d_type == DT_DIR
                              || (entry->d_type == DT_UNKNOWN && Posix::lstatPath(child, &status) && S_ISDIR(status.st_mode));
        if (isFolder && child != mSkipFolder)
            children << child;
    }
    ::closedir(listing);
    for (const QString &child : children)
        indexFolders(child);
}

std::optional<QString> StoredItemFinder::findInFolder(const QString &folder, const QString &encName) const
{
    // Most items still carry the name they were stored under.
    if (const std::optional<QString> name = Markers::decodeName(encName)) {
        const QString item = joinPath(folder, *name);
        const QString marker = DriveLayout::markerPath(item);
        const bool markerMissing = !Posix::exists(marker);
        if (isStoredFile(item) && (markerMissing || markerNames(marker, encName)))
            return item;
    }
    // Renamed since: its marker still names it.
    DIR *listing = ::opendir(Posix::native(folder).constData());
    if (!listing)
        return std::nullopt;
    std::optional<QString> found;
    const QString suffix = QLatin1String(DriveLayout::kMarkerSuffix);
    while (const dirent *entry = ::readdir(listing)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!name.endsWith(suffix) || name == QLatin1String(DriveLayout::kFolderMarkerName))
            continue;
        const QString marker = joinPath(folder, name);
        const QString item = marker.chopped(suffix.size());
        if (markerNames(marker, encName) && isStoredFile(item)) {
            found = item;
            break;
        }
    }
    ::closedir(listing);
    return found;
}
