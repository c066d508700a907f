#include "session/enumeration/FileSizeTally.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// A regular file's bytes, or a link's (the length of its text, as the engine
// stores it); 0 for anything else, or for a file gone since it was listed.
quint64 sizeOfFile(const QString &path)
{
    struct stat status
    {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 ||
        !(S_ISREG(status.st_mode) || S_ISLNK(status.st_mode)))
        return 0;
    return quint64(status.st_size);
}

}  // namespace

FileSizeTally::FileSizeTally(std::atomic<quint64> &total)
    : mTotal(total)
    , mThread([this] { measureWhatWaits(); })
{}

FileSizeTally::~FileSizeTally()
{
    {
        std::lock_guard lock(mLock);
        mStopping = true;
    }
    mChanged.notify_all();
    mThread.join();
}

void FileSizeTally::add(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    std::unique_lock lock(mLock);
    // A list larger than the bound on its own is taken once nothing else waits.
    mChanged.wait(lock,
                  [&] { return mWaitingPaths == 0 || mWaitingPaths + paths.size() <= kMaxWaitingPaths || mStopping; });
    mWaiting.push_back(paths);
    mWaitingPaths += paths.size();
    mChanged.notify_all();
}

void FileSizeTally::waitUntilCounted()
{
    std::unique_lock lock(mLock);
    mChanged.wait(lock, [this] { return mWaitingPaths == 0 || mStopping; });
}

void FileSizeTally::measureWhatWaits()
{
    std::unique_lock lock(mLock);
    for (;;) {
        mChanged.wait(lock, [this] { return !mWaiting.empty() || mStopping; });
        if (mStopping)
            return;
        const QStringList paths = mWaiting.front();
        lock.unlock();
        quint64 bytes = 0;
        for (const QString &path : paths) {
            if (mStopping)
                return;
            bytes += sizeOfFile(path);
        }
        mTotal += bytes;
        lock.lock();
        mWaiting.pop_front();
        mWaitingPaths -= paths.size();
        mChanged.notify_all();
    }
}
