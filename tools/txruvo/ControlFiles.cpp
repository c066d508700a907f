#include "ControlFiles.h"

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

}  // namespace

ControlFiles::ControlFiles(QString cancelPath, QString throttlePath)
    : mCancelPath(std::move(cancelPath))
    , mThrottlePath(std::move(throttlePath))
{
}

bool ControlFiles::cancelRequested()
{
    if (mCancelled)
        return true;
    if (mSinceLastPoll.isValid() && mSinceLastPoll.elapsed() < kPollIntervalMs)
        return false;
    mSinceLastPoll.start();
    mCancelled = readCancel();
    while (!mCancelled && readPaused()) {
        QThread::msleep(kPausedSleepMs);
        mCancelled = readCancel();
    }
    return mCancelled;
}

bool ControlFiles::readCancel() const
{
    return readSmallFile(mCancelPath) == "3";
}

bool ControlFiles::readPaused() const
{
    return readSmallFile(mThrottlePath) == "-1";
}
