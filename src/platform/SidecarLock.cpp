#include "platform/SidecarLock.h"

#include "platform/ErrorSlot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>

std::optional<SidecarLock> SidecarLock::acquire(const QString &path, Mode mode, QString *error)
{
    return lock(path, mode == Mode::Exclusive ? LOCK_EX : LOCK_SH, error);
}

std::optional<SidecarLock> SidecarLock::tryAcquire(const QString &path, QString *error)
{
    return lock(path, LOCK_EX | LOCK_NB, error);
}

std::optional<SidecarLock> SidecarLock::lock(const QString &path, int operation, QString *error)
{
    const QString lockPath = lockPathFor(path);
    if (!QDir().mkpath(QFileInfo(lockPath).absolutePath())) {
        ErrorSlot::fill(error, QStringLiteral("cannot make the folder of %1").arg(lockPath));
        return std::nullopt;
    }
    UniqueFd fd(::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd.isValid()) {
        ErrorSlot::fill(error, QStringLiteral("%1: %2").arg(lockPath, QString::fromLocal8Bit(std::strerror(errno))));
        return std::nullopt;
    }
    int result = 0;
    do
        result = ::flock(fd.get(), operation);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        ErrorSlot::fill(error, QStringLiteral("%1: %2").arg(lockPath, QString::fromLocal8Bit(std::strerror(errno))));
        return std::nullopt;
    }
    return SidecarLock(std::move(fd));
}
