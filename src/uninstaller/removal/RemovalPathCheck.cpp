#include "uninstaller/removal/RemovalPathCheck.h"

#include "platform/PathRoots.h"

#include <QDir>
#include <QStringList>

namespace RemovalPathCheck {
namespace {

QStringList protectedFolders()
{
    return {PathRoots::homeFolder(),    PathRoots::userDataRoot(),    PathRoots::userConfigRoot(),
            PathRoots::userCacheRoot(), PathRoots::userRuntimeRoot(), PathRoots::machineSupportRoot(),
            PathRoots::volumesRoot(),   PathRoots::programFolder(),   PathRoots::temporaryRoot()};
}

// True when the path is the folder or one of the folders above it.
bool isSameOrAbove(const QString &path, const QString &folder)
{
    return path == folder || folder.startsWith(path == QLatin1String("/") ? path : path + QLatin1Char('/'));
}

}  // namespace

QString refusal(const QString &path)
{
    if (path.isEmpty())
        return QStringLiteral("the path is empty");
    if (!QDir::isAbsolutePath(path))
        return QStringLiteral("%1 is not an absolute path").arg(path);
    const QString clean = QDir::cleanPath(path);
    if (path.split(QLatin1Char('/')).contains(QStringLiteral("..")))
        return QStringLiteral("%1 leads out of its folder").arg(path);
    for (const QString &folder : protectedFolders()) {
        if (!folder.isEmpty() && isSameOrAbove(clean, QDir::cleanPath(folder)))
            return QStringLiteral("%1 holds more than this program's files").arg(path);
    }
    return {};
}

}  // namespace RemovalPathCheck
