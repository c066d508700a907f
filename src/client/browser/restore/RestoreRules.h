#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Pure decisions of a restore from the destination tree.
namespace RestoreRules {

// A checked item of the tree: its path relative to the data root (no leading "/").
struct CheckedItem
{
    QString path;
    bool isFolder = false;
};

// What a restore hands to its session and writes to its log.
struct Selection
{
    // The checked files grouped by folder, in walk order: {folder path: [names]}.
    QList<QPair<QString, QStringList>> fileSets;
    QStringList folders;   // the checked folders' paths
    QStringList contents;  // every checked item's path, in walk order

    // The files as the session takes them: their index paths ("/A/x").
    QStringList indexPathsOfFiles() const;
    bool operator==(const Selection &) const = default;
};

// The walk over the checked items sorted by their folders' paths: files of one
// folder share a set, each folder is picked whole, every item is listed.
//   A/x, B/z, C (folder), A/y -> files {A: [x, y]}, {B: [z]}; folders [C]; contents A/x, A/y, B/z, C
Selection groupSelection(QList<CheckedItem> items);
// The same walk over the items in the order given: a folder's files split by
// another folder's make two sets (the search results' table order).
//   A/x, B/z, A/y -> files {A: [x]}, {B: [z]}, {A: [y]}
Selection groupInOrder(const QList<CheckedItem> &items);

// Whether a restore without the prompt asks first: only into the default destination.
bool asksBeforeRestore(const QString &destination, const QString &defaultDestination);

// Where a stored item comes back below the destination: the engine restores an
// item to its original path, which is its index path without the computer folder
// ("/Office") when the index names one ("Office/Users/ann/TM" -> "<destination>/Users/ann/TM").
QString restoredLocation(const QString &destination, const QString &itemPath, const QString &computerFolder);

}  // namespace RestoreRules
