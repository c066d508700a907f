#include "txruvo/StoredItemFinder.h"

#include "txruvo/CommandLine.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredNames.h"

namespace {

bool isStoredItem(const QString &path)
{
    struct stat status {};
    return Posix::lstatPath(path, &status) && StoredTree::isItem(status);
}

bool markerNames(const QString &markerPath, const QString &encName)
{
    const std::optional<Markers::ItemRecord> record = Markers::readItem(markerPath);
    return record && record->encName == encName;
}

}  // namespace

StoredItemFinder::StoredItemFinder(const DriveLayout &layout)
    : mTree(layout)
{
}

std::optional<QString> StoredItemFinder::find(const QString &folderId, const QString &encName)
{
    if (!mIndexed) {
        mTree.forEachFolder([this](const QString &folder) {
            if (std::optional<QString> id = Markers::readFolderId(folder))
                mFolders.insert(*id, folder);
        });
        mIndexed = true;
    }
    const auto folder = mFolders.constFind(folderId);
    if (folder == mFolders.cend())
        return std::nullopt;
    return findInFolder(folder.value(), encName);
}

std::optional<QString> StoredItemFinder::findInFolder(const QString &folder, const QString &encName) const
{
    // Most items still carry the name they were stored under.
    if (const std::optional<QString> name = Markers::decodeName(encName)) {
        const QString item = joinPath(folder, StoredNames::escaped(*name));
        const QString marker = DriveLayout::markerPath(item);
        if (isStoredItem(item) && (!Posix::exists(marker) || markerNames(marker, encName)))
            return item;
    }
    // Renamed since: its marker still names it.
    for (const StoredTree::Item &item : mTree.itemsOf(folder)) {
        if (markerNames(DriveLayout::markerPath(item.path), encName))
            return item.path;
    }
    return std::nullopt;
}
