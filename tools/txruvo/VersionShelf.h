#pragma once

#include "txruvo/DriveLayout.h"
#include "txruvo/Markers.h"

#include <QHash>
#include <QMutex>

// The earlier versions of stored items: slots 1 (oldest) to 5 (newest) of
// "<version folder>/<path>.qlvnNNN", each with its marker version. The
// current item is version (number of slots in use) + 1. Safe to use from
// several threads as long as each item is handled by one of them.
class VersionShelf
{
public:
    explicit VersionShelf(const DriveLayout &layout);

    // The highest slot in use, 0 for none.
    int count(const QString &relativePath) const;
    // count() of every item of a stored folder with versions, by the base
    // name of its versions (DriveLayout::versionBaseName of its stored name)
    // (items without versions are left out), from one listing of the
    // folder's versions: the items of a folder where some have versions
    // are not each looked up slot by slot.
    QHash<QString, int> slotsInFolder(const QString &relativeFolder) const;

    // The path (below the computer folder) under which the versions of the
    // stored item at itemPath lie: its own relative path, or, after a folder
    // above it was renamed on the drive, the path its marker says it was
    // backed up from.
    QString versionsPathOf(const QString &itemPath, const QString &relativePath) const;
    // The same, given what the item's marker holds (none: no readable marker).
    QString versionsPathOf(const QString &relativePath, const std::optional<Markers::ItemRecord> &marker) const;

    // Puts the current item (and its marker content) into the next slot,
    // dropping the oldest when all five are in use. The item itself stays in
    // place where the drive has hard links. Returns the slots now in use, or
    // -1 with errno set.
    int shelve(const QString &relativePath, const QByteArray &markerContent) const;

private:
    // Whether the version folder has this stored folder at all; asked once
    // per folder, since most items have no versions.
    bool folderMayHaveVersions(const QString &relativeFolder) const;
    // count() for an item whose folder may have versions.
    int slotsInUse(const QString &relativePath) const;
    bool makeRoom(const QString &relativePath) const;

    const DriveLayout &mLayout;
    mutable QMutex mLock;
    mutable QHash<QString, bool> mFoldersWithVersions;
};
