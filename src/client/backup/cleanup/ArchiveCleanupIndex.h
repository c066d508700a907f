#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The drive's index as the archive cleanup reads and updates it (the index manager).
class ArchiveCleanupIndex
{
public:
    virtual ~ArchiveCleanupIndex() = default;
    // Every entry the index holds at or below the index path (a folder's ends
    // in "/"); none when the index cannot be read. Called on the scan thread.
    virtual std::optional<QStringList> getAllEntriesFromMainDBWithPathLike(const QString &indexPath) = 0;
    // The index path's rows are to go. Main thread.
    virtual void addFileToDelete(const QString &indexPath) = 0;
};
