#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>

// The monitor's preference file, shared with the client: the client reads it
// and writes some keys of the same user dictionary itself. Every write here
// reads the file afresh, changes only the keys it owns and writes the whole
// file back atomically, so nothing the client wrote is lost.
namespace MonitorPreferenceFile {

QString path();
// The whole file; empty when it is missing or unreadable.
QVariantMap read();
// The user's dictionary; empty when there is none.
QVariantMap userPreferences(const QString &userName);

// Read-modify-write of the whole file; false when it could not be written.
bool update(const std::function<void(QVariantMap &preferences)> &change);
// Read-modify-write of the user's dictionary (made when missing); the keys
// the change does not touch stay as they were in the file.
bool updateUser(const QString &userName, const std::function<void(QVariantMap &user)> &change);

}  // namespace MonitorPreferenceFile
