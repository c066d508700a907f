#pragma once

#include "index/IndexEntry.h"

#include <QList>
#include <QString>

// One child of a stored folder as the destination tree needs it, read from a
// listing of the drive's index.
struct RemoteEntry
{
    QString name;  // the item's own name, without a trailing "/"
    bool isFolder = false;
    QString fileSize;  // bytes, as text; "" for a folder
    QString modificationDate;
    QString versionInfo;

    bool operator==(const RemoteEntry &) const = default;
};

// The listing's entries as the tree's, in their order. The one place that knows the
// listing's shape: a folder's entry names its whole stored path
// ("/Office/Users/ann/sub/"), a file's entry its name.
QList<RemoteEntry> remoteEntriesFromListing(const IndexEntries &listing);
