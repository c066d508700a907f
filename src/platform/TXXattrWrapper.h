#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The extended attributes of a file, folder or link, in the "user."
// namespace, the one a user may read and write on Linux. traverseLink false
// reads and writes a link's own attributes, never its target's. Every
// failure is silent: an item whose attributes cannot be listed has none, a
// write that fails leaves the item as it was, and a file system without
// extended attributes simply has none.
namespace TXXattrWrapper {

using Attributes = QMap<QString, QByteArray>;

QStringList allKeysAtPath(const QString &path, bool traverseLink);
// A null array when the value cannot be read (an empty value is empty, not null).
QByteArray dataForKey(const QString &name, const QString &path, bool traverseLink);
// Creates or replaces one attribute; whether it was written.
bool setData(const QByteArray &data, const QString &name, const QString &path, bool traverseLink);
// Every attribute whose value can be read, by name.
Attributes allXattributes(const QString &path, bool traverseLink);
// Sets the user attributes among them; any other namespace is skipped, with a warning.
void setAllXattributes(const Attributes &attributes, const QString &path, bool traverseLink);

}  // namespace TXXattrWrapper
