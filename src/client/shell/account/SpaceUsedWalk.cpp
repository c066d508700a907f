#include "client/shell/account/SpaceUsedWalk.h"

#include <QMetaObject>
#include <QObject>

void SpaceUsedWalk::start(const QString &folder, QObject *receiver, Result result)
{
    stop();
    mFolder = folder;
    mStopped = std::make_shared<std::atomic<bool>>(false);
    mThread = std::thread([folder, receiver, result = std::move(result), stopped = mStopped, pause = mPause] {
        const quint64 bytes = QLUtility::calculateSizeOfFile(folder, pause, stopped.get());
        if (stopped->load())
            return;
        QMetaObject::invokeMethod(receiver, [stopped, bytes, result] {
            if (!stopped->load())
                result(bytes);
        });
    });
}

void SpaceUsedWalk::keepOnlyFor(const QString &folder)
{
    if (folder != mFolder)
        stop();
}

void SpaceUsedWalk::stop()
{
    if (mStopped)
        mStopped->store(true);
    if (mThread.joinable())
        mThread.join();
    mFolder.clear();
}
