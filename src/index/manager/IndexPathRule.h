#pragma once

#include <QString>

// How a local path becomes the path the index knows it by: in backup mode,
// with a computer folder "/Office" set, /Users/ann/a.txt is kept as
// /Office/Users/ann/a.txt; otherwise the path stays as it is.
namespace IndexPathRule {

// Whether the client's computer folder setting names one: "/" alone or nothing does not.
bool isComputerFolder(const QString &folder);

// computerFolder: "/" and the folder name, or empty when none is set.
QString indexPath(const QString &path, bool forBackup, const QString &computerFolder, bool backupMode);

// The local path an index path of the archive cleanup stands for: without the
// computer folder when it begins with it, else the path itself.
QString localPath(const QString &indexPath, const QString &computerFolder);

}  // namespace IndexPathRule
