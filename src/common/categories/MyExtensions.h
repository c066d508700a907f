#pragma once

#include <QStringList>
#include <QVariantList>

#include <optional>

// Arrays kept in keyed-archive files (the schedules archive is one, under the
// key "Schedules"), and the prefix filter of string arrays.
namespace MyExtensions {

// Writes the array as the value of the key in a keyed archive, replacing the
// file atomically. The file is owner-only (0600): the schedules archive holds
// account passwords. A failed write leaves the old file as it was.
bool writeToArchivedFile(const QVariantList &array, const QString &path, const QString &key);

// The elements archived under the key; empty when the archive has no such key
// or its value is not an array. None when the file is missing, unreadable or
// not a keyed archive (the reason goes to the log).
std::optional<QVariantList> initWithContentsOfArchivedFile(const QString &path, const QString &key);

// The members that begin with the prefix, in order; empty for a null prefix.
QStringList objectsWithPrefix(const QStringList &array, const QString &prefix);

}  // namespace MyExtensions
