#include "common/files/DirectiryCreation.h"

#include "platform/PathRoots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>

namespace Directiry_Creation {

bool createDirectoryHierarchyAtPath(const QString &path) { return !path.isEmpty() && QDir().mkpath(path); }

bool createPrivateDirectoryHierarchyAtPath(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(folder).isDir())
        return true;
    // Machine-wide folders are shared by the users' own folders below them.
    const QString home = QDir::cleanPath(PathRoots::homeFolder());
    if (!folder.startsWith(home + u'/'))
        return QDir().mkpath(folder);
    const QString parent = QFileInfo(folder).path();
    if (parent != home && !createPrivateDirectoryHierarchyAtPath(parent))
        return false;
    return ::mkdir(QFile::encodeName(folder).constData(), 0700) == 0 || (errno == EEXIST && QFileInfo(folder).isDir());
}

}  // namespace Directiry_Creation
