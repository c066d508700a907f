#include "index/sqlite/FMDatabasePool.h"

#include <algorithm>

FMDatabasePool::FMDatabasePool(const QString &path, int flags, FMDatabaseTimings timings)
    : mPath(path)
    , mTimings(timings)
    , mOpenFlags(flags)
{}

std::unique_ptr<FMDatabase> FMDatabasePool::takeDatabase()
{
    std::lock_guard lock(mLock);
    std::unique_ptr<FMDatabase> db;
    if (!mDatabaseInPool.empty()) {
        db = std::move(mDatabaseInPool.back());
        mDatabaseInPool.pop_back();
    } else {
        const size_t open = mDatabaseInPool.size() + mDatabaseOutPool.size();
        if (mMaximumNumberOfDatabasesToCreate > 0 && open >= mMaximumNumberOfDatabasesToCreate)
            return nullptr;
        db = std::make_unique<FMDatabase>(mPath, mTimings);
        if (!db->openWithFlags(mOpenFlags))
            return nullptr;
    }
    mDatabaseOutPool.push_back(db.get());
    return db;
}

void FMDatabasePool::pushDatabaseBackInPool(std::unique_ptr<FMDatabase> db)
{
    if (!db)
        return;
    std::lock_guard lock(mLock);
    const auto handedOut = std::find(mDatabaseOutPool.begin(), mDatabaseOutPool.end(), db.get());
    // Released while it was out: let it go.
    if (handedOut == mDatabaseOutPool.end())
        return;
    mDatabaseOutPool.erase(handedOut);
    mDatabaseInPool.push_back(std::move(db));
}

void FMDatabasePool::inDatabase(const FMDatabaseWork &work)
{
    auto db = takeDatabase();
    work(db.get());
    pushDatabaseBackInPool(std::move(db));
}

void FMDatabasePool::inTransaction(const FMTransactionWork &work)
{
    inDatabase([&](FMDatabase *db) { FMTransactions::runTransaction(db, false, work); });
}

void FMDatabasePool::inDeferredTransaction(const FMTransactionWork &work)
{
    inDatabase([&](FMDatabase *db) { FMTransactions::runTransaction(db, true, work); });
}

int FMDatabasePool::countOfCheckedInDatabases() const
{
    std::lock_guard lock(mLock);
    return int(mDatabaseInPool.size());
}

int FMDatabasePool::countOfCheckedOutDatabases() const
{
    std::lock_guard lock(mLock);
    return int(mDatabaseOutPool.size());
}

int FMDatabasePool::countOfOpenDatabases() const
{
    std::lock_guard lock(mLock);
    return int(mDatabaseInPool.size() + mDatabaseOutPool.size());
}

void FMDatabasePool::releaseAllDatabases()
{
    std::lock_guard lock(mLock);
    mDatabaseInPool.clear();
    mDatabaseOutPool.clear();
}

unsigned FMDatabasePool::maximumNumberOfDatabasesToCreate() const
{
    std::lock_guard lock(mLock);
    return mMaximumNumberOfDatabasesToCreate;
}

void FMDatabasePool::setMaximumNumberOfDatabasesToCreate(unsigned maximum)
{
    std::lock_guard lock(mLock);
    mMaximumNumberOfDatabasesToCreate = maximum;
}
