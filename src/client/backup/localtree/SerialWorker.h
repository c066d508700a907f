#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// One thread that runs file work away from the main thread, in the order it was handed
// over. Work handed over under a name replaces the waiting work of that name (the newest
// state of a file is all that needs writing), keeping its place in the queue; work without
// a name always runs. finish() waits until everything handed over has run, so that a quit
// loses nothing; the destructor finishes too.
class SerialWorker
{
public:
    SerialWorker();
    ~SerialWorker();
    SerialWorker(const SerialWorker &) = delete;
    SerialWorker &operator=(const SerialWorker &) = delete;

    void post(const QString &name, std::function<void()> work);
    void post(std::function<void()> work) { post(QString(), std::move(work)); }
    void finish();
    // True on the worker's own thread (work that must not wait for itself).
    bool isWorkerThread() const { return std::this_thread::get_id() == mThread.get_id(); }

private:
    struct Item
    {
        QString name;
        std::function<void()> work;
    };
    void run();

    std::mutex mMutex;
    std::condition_variable mChanged;
    std::deque<Item> mWaiting;
    bool mBusy = false;
    bool mStopping = false;
    std::thread mThread;
};
