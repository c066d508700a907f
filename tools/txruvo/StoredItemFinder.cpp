#include "txruvo/StoredItemFinder.h"

#include "txruvo/CommandLine.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredNames.h"

namespace {

bool isStoredItem(const QString &path)
{
    struct stat status
    {};
    return Posix::lstatPath(path, &status) && StoredTree::isItem(status);
}

// Whether the marker names the item; `record` gets what it holds.
bool markerNames(const QString &markerPath, const QString &encName, std::optional<Markers::ItemRecord> *record)
{
    *record = Markers::readItem(markerPath);
    return *record && (*record)->encName == encName;
}

}  // namespace

StoredItemFinder::StoredItemFinder(const DriveLayout &layout)
    : mTree(layout)
{}

std::optional<QString> StoredItemFinder::find(const QString &folderId, const QString &encName,
                                              std::optional<Markers::ItemRecord> *marker)
{
    std::call_once(mIndexed, [this] {
        mTree.forEachFolder([this](const QString &folder) {
            if (std::optional<QString> id = Markers::readFolderId(folder))
                mFolders.insert(*id, folder);
        });
    });
    const auto folder = mFolders.constFind(folderId);
    if (folder == mFolders.cend())
        return std::nullopt;
    std::optional<Markers::ItemRecord> record;
    return findInFolder(folder.value(), encName, marker ? marker : &record);
}

std::optional<QString> StoredItemFinder::findInFolder(const QString &folder, const QString &encName,
                                                      std::optional<Markers::ItemRecord> *marker) const
{
    // Most items still carry the name they were stored under: one read of
    // the marker tells (a marker that cannot be read counts as none).
    if (const std::optional<QString> name = Markers::decodeName(encName)) {
        const QString item = joinPath(folder, StoredNames::escaped(*name));
        if (isStoredItem(item)) {
            const QString markerPath = DriveLayout::markerPath(item);
            if (markerNames(markerPath, encName, marker) || (!*marker && !Posix::exists(markerPath)))
                return item;
        }
    }
    // Renamed since: its marker still names it.
    for (const StoredTree::Item &item : mTree.itemsOf(folder)) {
        if (markerNames(DriveLayout::markerPath(item.path), encName, marker))
            return item.path;
    }
    *marker = std::nullopt;
    return std::nullopt;
}
