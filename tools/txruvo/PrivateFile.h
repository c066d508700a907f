#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Files that hold secrets: written atomically with mode 0600, and read only
// when no other user can read them.
namespace PrivateFile {

bool write(const QString &path, const QByteArray &content, QString *error);
// The file's content with trailing line breaks removed; none (and the
// reason) when it is missing, unreadable or open to other users.
std::optional<QString> read(const QString &path, QString *error);

}  // namespace PrivateFile
