#include "txruvo/StagingArea.h"

#include "txruvo/CommandLine.h"
#include "txruvo/Posix.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kLockSuffix = QStringLiteral(".lock");
const QString kPartSuffix = QStringLiteral(".part");

// The run a staged name belongs to: "<run>.lock" or "<run>-<n>.part".
QString runOf(const QString &name)
{
    if (name.endsWith(kLockSuffix))
        return name.chopped(kLockSuffix.size());
    if (name.endsWith(kPartSuffix))
        return name.left(name.lastIndexOf('-'));
    return QString();
}

}  // namespace

StagingArea::StagingArea(const QString &dataRoot)
    : mFolder(joinPath(dataRoot, QLatin1String(kFolderName)))
    , mRun(QStringLiteral("%1-%2").arg(::getpid()).arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0')))
{}

StagingArea::~StagingArea()
{
    if (mLockFd >= 0) {
        ::unlinkat(mFolderFd, QFile::encodeName(mRun + kLockSuffix).constData(), 0);
        ::close(mLockFd);
    }
    if (mFolderFd >= 0)
        ::close(mFolderFd);
}

bool StagingArea::open()
{
    if (::mkdir(Posix::native(mFolder).constData(), 0755) != 0 && errno != EEXIST)
        return false;
    mFolderFd = ::open(Posix::native(mFolder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (mFolderFd < 0 || !takeLock())
        return false;
    removeLeftovers();
    return true;
}

bool StagingArea::takeLock()
{
    const QByteArray lockName = QFile::encodeName(mRun + kLockSuffix);
    // Locked before it has a name, so no other run ever finds it unlocked.
    mLockFd = ::openat(mFolderFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0644);
    if (mLockFd >= 0) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(mLockFd);
        if (::flock(mLockFd, LOCK_EX) == 0 &&
            ::linkat(AT_FDCWD, self.constData(), mFolderFd, lockName.constData(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        ::close(mLockFd);
    }
    // Without unnamed files (or the right to name them): named, then locked.
    mLockFd = ::openat(mFolderFd, lockName.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0644);
    if (mLockFd < 0)
        return false;
    if (::flock(mLockFd, LOCK_EX) != 0 && errno != ENOLCK && errno != EOPNOTSUPP) {
        ::close(mLockFd);
        mLockFd = -1;
        return false;
    }
    return true;
}

void StagingArea::removeLeftovers()
{
    DIR *listing = ::fdopendir(::dup(mFolderFd));
    if (!listing)
        return;
    QHash<QString, QStringList> namesByRun;
    while (const dirent *entry = ::readdir(listing)) {
        const QString name = QFile::decodeName(entry->d_name);
        const QString run = runOf(name);
        if (!run.isEmpty() && run != mRun)
            namesByRun[run] << name;
    }
    ::closedir(listing);
    for (auto run = namesByRun.cbegin(); run != namesByRun.cend(); ++run) {
        const QByteArray lockName = QFile::encodeName(run.key() + kLockSuffix);
        const int lock = ::openat(mFolderFd, lockName.constData(), O_RDONLY | O_CLOEXEC);
        // A lock another process holds, or one that cannot be tested, keeps its run's files.
        if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
            ::close(lock);
            continue;
        }
        if (lock < 0 && errno != ENOENT)
            continue;
        for (const QString &name : run.value()) {
            if (name.endsWith(kPartSuffix))
                ::unlinkat(mFolderFd, QFile::encodeName(name).constData(), 0);
        }
        if (lock >= 0) {
            ::unlinkat(mFolderFd, lockName.constData(), 0);
            ::close(lock);
        }
    }
}

QString StagingArea::newPath()
{
    return QStringLiteral("%1/%2-%3%4").arg(mFolder, mRun).arg(mCounter.fetchAndAddRelaxed(1)).arg(kPartSuffix);
}
