#include "client/browser/tree/RemoteEntry.h"

namespace {

// The last component of a stored path, its trailing "/" left out.
QString storedItemName(QString path)
{
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

QList<RemoteEntry> remoteEntriesFromListing(const IndexEntries &listing)
{
    QList<RemoteEntry> entries;
    entries.reserve(listing.size());
    for (const IndexEntry &indexed : listing) {
        RemoteEntry entry;
        entry.name = storedItemName(indexed.fileName);
        entry.isFolder = indexed.isFolder();
        if (!entry.isFolder) {
            entry.fileSize = QString::number(indexed.fileSize);
            entry.modificationDate = indexed.fileModificationDate;
            entry.versionInfo = QString::number(indexed.versionInfo);
        }
        if (!entry.name.isEmpty())
            entries.append(entry);
    }
    return entries;
}
