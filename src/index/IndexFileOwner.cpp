#include "index/IndexFileOwner.h"

#include "platform/ErrorSlot.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IndexFileOwner {

bool isOwnOrAbsent(const QString &path)
{
    // Opened without following a link, then the open file itself is asked.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    struct stat info
    {};
    const bool own = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
    ::close(fd);
    return own;
}

QString foreignFileText(const QString &path)
{
    return QStringLiteral("%1 belongs to another user and is left alone").arg(path);
}

bool ensureSharedFolder(const QString &folder, QString *error)
{
    constexpr mode_t kSharedSticky = 01777;
    const QByteArray native = QFile::encodeName(folder);
    struct stat info
    {};
    if (!QDir().mkpath(folder) || ::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        ErrorSlot::fill(error, QStringLiteral("the index folder %1 cannot be made").arg(folder));
        return false;
    }
    // On a drive without modes (FAT) the change does not take; every file there is this user's anyway.
    if (info.st_uid == ::geteuid()) {
        if ((info.st_mode & 07777) != kSharedSticky)
            ::chmod(native.constData(), kSharedSticky);
        return true;
    }
    if ((info.st_mode & S_IWOTH) && !(info.st_mode & S_ISVTX)) {
        ErrorSlot::fill(error, QStringLiteral("the index folder %1 lets other users remove its files").arg(folder));
        return false;
    }
    return true;
}

}  // namespace IndexFileOwner
