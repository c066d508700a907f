#pragma once

#include <QString>

// Folder creation wherever the client prepares a folder.
namespace Directiry_Creation {

// Creates the folder and every missing parent. True when the folder exists
// afterwards (an existing folder is no error).
bool createDirectoryHierarchyAtPath(const QString &path);

// The same for a folder of the user's own files: each folder it makes in the
// user's home is closed to other users (0700), as the XDG folders are; folders
// that exist, and machine-wide ones, are left as they are.
bool createPrivateDirectoryHierarchyAtPath(const QString &path);

}  // namespace Directiry_Creation
