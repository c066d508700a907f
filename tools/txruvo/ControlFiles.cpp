#include "txruvo/ControlFiles.h"

#include "txruvo/Posix.h"

#include <QThread>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The first bytes only, read with the C library: a run that lasts a few
// milliseconds would spend a good part of them setting up Qt's file classes
// for these few bytes. Whatever the path names (a FIFO, an endless device),
// one short read is all it costs.
QByteArray readSmallFile(const QString &path)
{
    if (path.isEmpty())
        return {};
    const int fd = ::open(Posix::native(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    char head[16];
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    return got > 0 ? QByteArray(head, got).trimmed() : QByteArray();
}

}  // namespace

ControlFiles::ControlFiles(QString cancelPath, QString throttlePath, const EngineTimings &timings)
    : mCancelPath(std::move(cancelPath))
    , mThrottlePath(std::move(throttlePath))
    , mPollInterval(timings.controlPoll)
    , mPausedPoll(timings.pausedPoll)
{
    mClock.start();
}

bool ControlFiles::cancelRequested()
{
    if (!mCancelled && (mPausing || nowMs() >= mNextPollMs))
        poll();
    return mCancelled;
}

void ControlFiles::poll()
{
    QMutexLocker locker(&mPollLock);
    if (mCancelled || nowMs() < mNextPollMs)
        return;  // another thread polled (or waited out a pause) meanwhile
    mCancelled = readCancel();
    while (!mCancelled && readPaused()) {
        mPausing = true;
        QThread::msleep(ulong(mPausedPoll.count()));
        mCancelled = readCancel();
    }
    mPausing = false;
    mNextPollMs = nowMs() + mPollInterval.count();
}

bool ControlFiles::readCancel() const { return readSmallFile(mCancelPath) == "3"; }

bool ControlFiles::readPaused() const { return readSmallFile(mThrottlePath) == "-1"; }
