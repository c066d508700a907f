#include "client/browser/tree/RemoteEntry.h"

#include <QVariantMap>

namespace {

// The last component of a stored path, its trailing "/" left out.
QString ownName(QString path)
{
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

QList<RemoteEntry> remoteEntriesFromListing(const QVariantList &rows)
{
    QList<RemoteEntry> entries;
    entries.reserve(rows.size());
    for (const QVariant &row : rows) {
        const QVariantMap fields = row.toMap();
        RemoteEntry entry;
        entry.name = ownName(fields.value(QStringLiteral("FileName")).toString());
        entry.isFolder = fields.value(QStringLiteral("FileType")).toString() != QLatin1String("F");
        if (!entry.isFolder)
            entry.fileSize = fields.value(QStringLiteral("FileSize")).toString();
        entry.modificationDate = fields.value(QStringLiteral("FileModificationDate")).toString();
        entry.versionInfo = fields.value(QStringLiteral("VersionInfo")).toString();
        if (!entry.name.isEmpty())
            entries.append(entry);
    }
    return entries;
}
