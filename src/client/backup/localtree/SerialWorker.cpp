#include "client/backup/localtree/SerialWorker.h"

#include <algorithm>

SerialWorker::SerialWorker()
    : mThread([this] { run(); })
{}

SerialWorker::~SerialWorker()
{
    finish();
    {
        std::lock_guard lock(mMutex);
        mStopping = true;
    }
    mChanged.notify_all();
    mThread.join();
}

void SerialWorker::post(const QString &name, std::function<void()> work)
{
    {
        std::lock_guard lock(mMutex);
        const auto waiting = name.isEmpty() ? mWaiting.end()
                                            : std::find_if(mWaiting.begin(), mWaiting.end(),
                                                           [&name](const Item &item) { return item.name == name; });
        if (waiting != mWaiting.end())
            waiting->work = std::move(work);
        else
            mWaiting.push_back({name, std::move(work)});
    }
    mChanged.notify_all();
}

void SerialWorker::finish()
{
    if (isWorkerThread())
        return;
    std::unique_lock lock(mMutex);
    mChanged.wait(lock, [this] { return mWaiting.empty() && !mBusy; });
}

void SerialWorker::run()
{
    std::unique_lock lock(mMutex);
    for (;;) {
        mChanged.wait(lock, [this] { return mStopping || !mWaiting.empty(); });
        if (mWaiting.empty())
            return;
        Item item = std::move(mWaiting.front());
        mWaiting.pop_front();
        mBusy = true;
        lock.unlock();
        item.work();
        item = {};
        lock.lock();
        mBusy = false;
        mChanged.notify_all();
    }
}
