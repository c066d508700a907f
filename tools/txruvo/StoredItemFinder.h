#pragma once

#include "txruvo/StoredTree.h"

#include <QHash>
#include <QString>

#include <optional>

// Finds a stored item by the identifiers the engine reported for it (folder
// identifier and encoded name), wherever the client has since moved or
// renamed it below the computer folder: the identifiers travel in the
// folder marker and the item marker.
class StoredItemFinder
{
public:
    explicit StoredItemFinder(const DriveLayout &layout);

    std::optional<QString> find(const QString &folderId, const QString &encName);

private:
    std::optional<QString> findInFolder(const QString &folder, const QString &encName) const;

    StoredTree mTree;
    bool mIndexed = false;
    QHash<QString, QString> mFolders;  // folder identifier -> folder path, walked once per run
};
