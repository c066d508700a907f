#pragma once

#include <QString>
#include <QStringList>

// What the archive cleanup hears from the deletion, on the main thread. Each
// deletion ends with exactly one of the last three.
class ArchiveCleanupDeleteEvents
{
public:
    virtual ~ArchiveCleanupDeleteEvents() = default;

    virtual void deleteDidStart() = 0;
    // Index paths of items that are gone from the drive.
    virtual void deleteDidReceiveData(const QStringList &deletedPaths) = 0;
    virtual void deleteDidReceiveErrors(const QString &error, const QString &path) = 0;
    virtual void deleteDidFinishSuccessfully() = 0;
    virtual void deleteDidFailWithError(const QString &error) = 0;
    virtual void deleteDidCancel() = 0;
};

// Deletes stored items from the destination drive through the engine (the
// engine's delete controller).
class ArchiveCleanupDeleter
{
public:
    virtual ~ArchiveCleanupDeleter() = default;
    // accountFolder: the account's folder on the drive, above its computer folders;
    // computerFolder: "/" and the name the index paths begin with, or "" for none;
    // items: index paths (computer folder and local path; a folder's ends in "/").
    virtual void startDelete(const QString &accountFolder, const QString &computerFolder, const QStringList &items,
                             ArchiveCleanupDeleteEvents &events) = 0;
};
