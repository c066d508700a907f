#pragma once

#include <QString>

// Folder creation wherever the client prepares a folder.
namespace Directiry_Creation {

// Creates the folder and every missing parent. True when the folder exists
// afterwards (an existing folder is no error).
bool createDirectoryHierarchyAtPath(const QString &path);

}  // namespace Directiry_Creation
