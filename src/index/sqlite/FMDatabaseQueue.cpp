#include "index/sqlite/FMDatabaseQueue.h"

#include <QtGlobal>

std::unique_ptr<FMDatabaseQueue> FMDatabaseQueue::databaseQueueWithPath(const QString &path, int flags,
                                                                        FMDatabaseTimings timings)
{
    auto db = std::make_unique<FMDatabase>(path, timings);
    if (!db->openWithFlags(flags))
        return nullptr;
    return std::unique_ptr<FMDatabaseQueue>(new FMDatabaseQueue(path, flags, timings, std::move(db)));
}

FMDatabaseQueue::FMDatabaseQueue(const QString &path, int flags, FMDatabaseTimings timings,
                                 std::unique_ptr<FMDatabase> db)
    : mPath(path)
    , mOpenFlags(flags)
    , mTimings(timings)
    , mDb(std::move(db))
{}

FMDatabase *FMDatabaseQueue::database()
{
    if (!mDb) {
        auto db = std::make_unique<FMDatabase>(mPath, mTimings);
        if (db->openWithFlags(mOpenFlags))
            mDb = std::move(db);
    }
    return mDb.get();
}

void FMDatabaseQueue::runExclusively(const std::function<void()> &body)
{
    if (mRunningThread.load() == std::this_thread::get_id())
        qFatal("inDatabase: was called reentrantly on the same queue, which would lead to a deadlock");
    std::lock_guard lock(mMutex);
    mRunningThread = std::this_thread::get_id();
    body();
    mRunningThread = std::thread::id();
}

void FMDatabaseQueue::inDatabase(const FMDatabaseWork &work)
{
    runExclusively([&] { work(database()); });
}

void FMDatabaseQueue::inTransaction(const FMTransactionWork &work)
{
    runExclusively([&] { FMTransactions::runTransaction(database(), false, work); });
}

void FMDatabaseQueue::inDeferredTransaction(const FMTransactionWork &work)
{
    runExclusively([&] { FMTransactions::runTransaction(database(), true, work); });
}

void FMDatabaseQueue::close()
{
    runExclusively([this] { mDb.reset(); });
}
