#pragma once

#include "txruvo/Markers.h"
#include "txruvo/StoredTree.h"

#include <QHash>
#include <QString>

#include <mutex>
#include <optional>

// Finds a stored item by the identifiers the engine reported for it (folder
// identifier and encoded name), wherever the client has since moved or
// renamed it below the computer folder: the identifiers travel in the
// folder marker and the item marker. Several threads may ask at once.
class StoredItemFinder
{
public:
    explicit StoredItemFinder(const DriveLayout &layout);

    // The item's path; `marker` (when given) gets what its marker holds,
    // none when it has no readable marker, so a caller needs no second look.
    std::optional<QString> find(const QString &folderId, const QString &encName,
                                std::optional<Markers::ItemRecord> *marker = nullptr);

private:
    std::optional<QString> findInFolder(const QString &folder, const QString &encName,
                                        std::optional<Markers::ItemRecord> *marker) const;

    StoredTree mTree;
    std::once_flag mIndexed;
    QHash<QString, QString> mFolders;  // folder identifier -> folder path, walked once per run
};
