#pragma once

#include <QList>
#include <QString>

#include <functional>

// After a restore: the extended attributes of Time Machine databases
// ("Backups.backupdb") found in the restored items are put back from the lists
// saved beside them.
namespace RestoredXattrs {

// A restored item: where it is now, and where it is stored on the drive.
struct Item
{
    QString restored;
    QString stored;
};

// Puts back the attributes of one restored database, with its folder on the drive.
using Reset = std::function<void(const QString &restoredDatabase, const QString &storedDatabase)>;

// Entries more than this many levels below a restored item are not looked at.
inline constexpr int kDepth = 5;

// Each item that is a database is reset; in any other folder, entries not starting
// with "." are looked into down to kDepth levels below the item, links not followed.
void searchXattributesIn(const QList<Item> &items, const Reset &reset);

}  // namespace RestoredXattrs
