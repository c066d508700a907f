#include "common/utility/QLUtility.h"

#include "common/texts/QLLocalizedString.h"
#include "platform/FilePackage.h"
#include "platform/ItemRemoval.h"
#include "platform/PathRoots.h"
#include "platform/PathTemplate.h"
#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

#include <algorithm>

namespace {

// The real (link-free) form of an existing absolute folder, or "" for anything else.
QString realFolder(const QString &folder)
{
    return QDir::isAbsolutePath(folder) ? QFileInfo(folder).canonicalFilePath() : QString();
}

bool liesInside(const QString &realPath, const QString &folder)
{
    const QString realRoot = realFolder(folder);
    return !realRoot.isEmpty() && realRoot != QLatin1String("/") && realPath.startsWith(realRoot + '/');
}

// This brand's data folder on the drive that holds the path, when the path lies
// below the volumes root.
QString driveDataFolderFor(const QString &realPath)
{
    const QString volumes = realFolder(PathRoots::volumesRoot());
    if (volumes.isEmpty() || !realPath.startsWith(volumes + '/'))
        return {};
    const QString volumeName = realPath.mid(volumes.size() + 1).section('/', 0, 0);
    return PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("DriveDataFolderPath")), {volumeName});
}

// The application's own folder in the temporary folder, when it is really its
// own; the rest of the temporary folder belongs to others.
QString ownTemporaryFolder()
{
    const QString folder = PrivateFolder::temporaryFolder();
    return PrivateFolder::isOwnFolder(folder) ? folder : QString();
}

// The item to remove for a path, or "" when removal may not act on it. Removal
// acts strictly inside the application's own folders: its support folders, its
// own folder in the temporary folder and this brand's data folder on a drive.
// The folder part is resolved to its real form (the item is removed there), so
// neither ".." nor a linked folder leads elsewhere; the last component stays as
// given, so a link goes, not its target.
QString removableItem(const QString &path)
{
    if (!QDir::isAbsolutePath(path))
        return {};
    const QFileInfo item(QDir::cleanPath(path));
    const QString name = item.fileName();
    const QString parent = realFolder(item.path());
    if (name.isEmpty() || parent.isEmpty())
        return {};
    const QString realPath = (parent == QLatin1String("/") ? QString() : parent) + '/' + name;
    const QString roots[] = {
        QLLocalizedString(QStringLiteral("ApplicationUserFolderPath")),
        QLLocalizedString(QStringLiteral("ApplicationRootFolderPath")),
        ownTemporaryFolder(),
        driveDataFolderFor(realPath),
    };
    const bool isInside = std::any_of(std::begin(roots), std::end(roots),
                                      [&](const QString &root) { return liesInside(realPath, root); });
    return isInside ? realPath : QString();
}

bool isPresent(const QString &path)
{
    const QFileInfo item(path);
    return item.exists() || item.isSymLink();
}

}  // namespace

bool QLUtility::isFileExists(const QString &path) { return !path.isEmpty() && QFileInfo::exists(path); }

bool QLUtility::isDirectory(const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool QLUtility::isMacDirectory(const QString &path)
{
    return isFileExists(path) && (!isDirectory(path) || FilePackage::isFilePackage(path));
}

bool QLUtility::isStringContainsKeyString(const QString &text, const QString &key)
{
    return !text.isNull() && !key.isEmpty() && text.contains(key);
}

void QLUtility::removeFile(const QString &path)
{
    if (path.isEmpty() || !isPresent(path))
        return;
    const QString item = removableItem(path);
    if (item.isEmpty()) {
        qWarning().noquote() << "refused to remove a path outside the application's folders:" << path;
        return;
    }
    ItemRemoval::removeItemRecursively(item);
}
