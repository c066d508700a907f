#pragma once

#include <QString>

namespace NoReplaceRename {

// Moves a file or folder to a new path on the same file system, but never
// onto an existing one: a destination that exists fails the move with
// "File exists", and both items stay as they were. On a file system that
// cannot refuse atomically, the destination is checked first.
// Returns the reason of a failure, or an empty text on success.
QString renameNoReplace(const QString &from, const QString &to);

}  // namespace NoReplaceRename
