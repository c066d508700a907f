#include "txruvo/SharedSync.h"

#include <cerrno>

SharedSync::SharedSync(DurableBatch::FileSystemSync sync)
    : mSync(std::move(sync))
{}

int SharedSync::sync(int fileSystemFd)
{
    QMutexLocker locker(&mLock);
    const quint64 ticket = ++mRequested;
    while (mRunning) {
        mFinished.wait(&mLock);
        if (mCovered >= ticket && mCoveredFd == fileSystemFd) {
            errno = mError;
            return mResult;
        }
    }
    // A sync that was running when this thread asked may have missed its
    // writes: this one covers every ticket handed out so far.
    mRunning = true;
    const quint64 covers = mRequested;
    locker.unlock();
    const int result = mSync(fileSystemFd);
    const int error = errno;
    locker.relock();
    mRunning = false;
    mCovered = covers;
    mCoveredFd = fileSystemFd;
    mResult = result;
    mError = error;
    mFinished.wakeAll();
    errno = error;
    return result;
}
