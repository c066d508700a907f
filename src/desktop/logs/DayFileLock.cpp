#include "desktop/logs/DayFileLock.h"

#include <QFile>
#include <QtDebug>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

DayFileLock::DayFileLock(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QString path = folder + QStringLiteral("/.lock");
    mFd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (mFd < 0) {
        qWarning().noquote() << "session-log lock not taken:" << path << strerror(errno);
        return;
    }
    while (::flock(mFd, LOCK_EX) != 0 && errno == EINTR) {}
}

DayFileLock::~DayFileLock()
{
    if (mFd >= 0)
        ::close(mFd);  // closing releases the lock
}
