#include "index/manager/IndexPathRule.h"

#include "common/categories/QuellonExtension.h"

namespace {

// Whether the path is the folder or lies below it: whole components only, so
// /Office2 does not begin with /Office.
bool beginsWithFolder(const QString &path, const QString &folder)
{
    return path.startsWith(folder) && (path.size() == folder.size() || path.at(folder.size()) == QLatin1Char('/'));
}

}  // namespace

bool IndexPathRule::isComputerFolder(const QString &folder) { return folder.size() > 1; }

QString IndexPathRule::indexPath(const QString &path, bool forBackup, const QString &computerFolder, bool backupMode)
{
    if (!forBackup || !isComputerFolder(computerFolder) || beginsWithFolder(path, computerFolder))
        return path;
    if (beginsWithFolder(path, computerFolder.mid(1)))
        return QLatin1Char('/') + path;
    return backupMode ? computerFolder + path : path;
}

QString IndexPathRule::localPath(const QString &indexPath, const QString &computerFolder)
{
    if (!isComputerFolder(computerFolder) || !beginsWithFolder(indexPath, computerFolder))
        return indexPath;
    return quellonExtension::removeFirstPathComponent(indexPath);
}
