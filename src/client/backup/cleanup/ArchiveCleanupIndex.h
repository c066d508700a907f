#pragma once

#include <QString>
#include <QStringList>

// The drive's index as the archive cleanup reads and updates it (the index manager).
class ArchiveCleanupIndex
{
public:
    virtual ~ArchiveCleanupIndex() = default;
    // Every entry the index holds at or below the index path. Called on the scan thread.
    virtual QStringList getAllEntriesFromMainDBWithPathLike(const QString &indexPath) = 0;
    // The index path's rows are to go. Main thread.
    virtual void addFileToDelete(const QString &indexPath) = 0;
};
