#include "platform/NoReplaceRename.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

QString NoReplaceRename::renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno == EINVAL || errno == ENOSYS) {
        struct stat status
        {};
        if (::lstat(target.constData(), &status) == 0)
            errno = EEXIST;
        else if (::rename(source.constData(), target.constData()) == 0)
            return {};
    }
    return QString::fromLocal8Bit(std::strerror(errno));
}
