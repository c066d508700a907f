#pragma once

#include <QString>

// The index folder on a drive is shared by the machine's users, each with an
// index of its own: a file there is used only when it belongs to this user.
namespace IndexFileOwner {

// True for a regular file of this user, or for no file at all (it is then made
// by this user). A link is never followed: it counts as another user's file.
bool isOwnOrAbsent(const QString &path);

// The message for an index file that is refused because of its owner.
QString foreignFileText(const QString &path);

// Makes the index folder when missing. The folder is shared and sticky (1777),
// so that no user can remove or rename another's files in it. False with the
// reason when another user's folder lets others remove files (it cannot be mended).
bool ensureSharedFolder(const QString &folder, QString *error);

}  // namespace IndexFileOwner
