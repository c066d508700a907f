#include "txruvo/ControlFiles.h"

#include <QDateTime>
#include <QFile>
#include <QThread>

namespace {

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.read(16).trimmed();
}

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

}  // namespace

ControlFiles::ControlFiles(QString cancelPath, QString throttlePath)
    : mCancelPath(std::move(cancelPath))
    , mThrottlePath(std::move(throttlePath))
{
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
        QThread::msleep(kPausedSleepMs);
        mCancelled = readCancel();
    }
    mPausing = false;
    mNextPollMs = nowMs() + kPollIntervalMs;
}

bool ControlFiles::readCancel() const
{
    return readSmallFile(mCancelPath) == "3";
}

bool ControlFiles::readPaused() const
{
    return readSmallFile(mThrottlePath) == "-1";
}
