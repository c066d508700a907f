#pragma once

#include <QString>
#include <QVariantMap>

// Dictionary helpers of the backup session: dropping unselected entries, and
// the program's size total of the files reported during a backup, in which
// each file counts once.
namespace Extention {

// Removes every entry whose value reads as false (BoolValue.h).
void filterUnselectedEntries(QVariantMap &dictionary);

// When the key is not yet in the dictionary: stores the size under it and adds
// it to the size total. When it is: nothing, the first size stays.
void setSizeObject(QVariantMap &dictionary, quint64 size, const QString &key);

// The size total is one exact byte count for the program (its context), safe to
// update from several threads; it lives in no dictionary.
void setTotalSizeValue(quint64 total);
quint64 totalSizeValue();

}  // namespace Extention
