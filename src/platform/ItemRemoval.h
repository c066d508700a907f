#pragma once

#include <QString>

namespace ItemRemoval {

// Deletes the item at the path: a file, a symbolic link (the link itself, never
// its target) or a folder with everything below it. Links met inside a folder
// are removed as links too, so nothing outside the item is touched. Errors are
// left for the caller to notice (what could not be removed stays in place).
void removeItemRecursively(const QString &path);

}  // namespace ItemRemoval
