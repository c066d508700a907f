#include "client/browser/restore/RestoredXattrs.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kDatabaseName = QStringLiteral("Backups.backupdb");

void restoreXattributes(const RestoredXattrs::Item &item, int depth, const RestoredXattrs::Reset &reset)
{
    if (QFileInfo(item.restored).fileName() == kDatabaseName) {
        reset(item.restored, item.stored);
        return;
    }
    const QFileInfo folder(item.restored);
    if (!folder.isDir() || folder.isSymLink())
        return;
    const QStringList names =
        QDir(item.restored).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString &name : names) {
        if (name.startsWith(QLatin1Char('.')))
            continue;
        const int entryDepth = depth + 1;
        if (entryDepth > RestoredXattrs::kDepth)
            return;
        const RestoredXattrs::Item entry{item.restored + QLatin1Char('/') + name,
                                         item.stored + QLatin1Char('/') + name};
        if (name == kDatabaseName)
            reset(entry.restored, entry.stored);
        else
            restoreXattributes(entry, entryDepth, reset);
    }
}

}  // namespace

namespace RestoredXattrs {

void searchXattributesIn(const QList<Item> &items, const Reset &reset)
{
    for (const Item &item : items)
        restoreXattributes(item, 0, reset);
}

}  // namespace RestoredXattrs
