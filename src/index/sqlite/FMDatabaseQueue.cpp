#include "index/sqlite/FMDatabaseQueue.h"

#include <QtGlobal>

std::unique_ptr<FMDatabaseQueue> FMDatabaseQueue::databaseQueueWithPath(const QString &path, int flags)
{
    auto db = std::make_unique<FMDatabase>(path);
    if (!db->openWithFlags(flags))
        return nullptr;
    return std::unique_ptr<FMDatabaseQueue>(new FMDatabaseQueue(path, flags, std::move(db)));
}

FMDatabaseQueue::FMDatabaseQueue(const QString &path, int flags, std::unique_ptr<FMDatabase> db)
    : mPath(path), mOpenFlags(flags), mDb(std::move(db))
{
}

FMDatabase *FMDatabaseQueue::database()
{
    if (!mDb) {
        auto db = std::make_unique<FMDatabase>(mPath);
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
    runExclusively([&] { runTransaction(database(), false, work); });
}

void FMDatabaseQueue::inDeferredTransaction(const FMTransactionWork &work)
{
    runExclusively([&] { runTransaction(database(), true, work); });
}

void FMDatabaseQueue::close()
{
    runExclusively([this] { mDb.reset(); });
}
