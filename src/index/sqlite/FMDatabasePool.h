#pragma once

#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMDatabaseWork.h"

#include <QString>

#include <memory>
#include <mutex>
#include <vector>

// Hands out connections to one database from a pool of idle ones, so that
// several threads can work at once, each on a connection of its own. Waiting
// between the connections is left to the database's own locking.
class FMDatabasePool
{
public:
    explicit FMDatabasePool(const QString &path, int flags = FMDatabase::kDefaultOpenFlags,
                            FMDatabaseTimings timings = {});

    // Runs the work with a connection taken from the pool and puts it back
    // afterwards. Work run inside other work takes a second connection.
    void inDatabase(const FMDatabaseWork &work);
    void inTransaction(const FMTransactionWork &work);
    void inDeferredTransaction(const FMTransactionWork &work);

    int countOfCheckedInDatabases() const;
    int countOfCheckedOutDatabases() const;
    int countOfOpenDatabases() const;
    // Drops the idle connections, and every handed-out one once it comes back.
    void releaseAllDatabases();

    // 0 means no limit; at the limit, work gets no connection until one is back.
    unsigned maximumNumberOfDatabasesToCreate() const;
    void setMaximumNumberOfDatabasesToCreate(unsigned maximum);

    const QString &path() const { return mPath; }
    int openFlags() const { return mOpenFlags; }

private:
    std::unique_ptr<FMDatabase> takeDatabase();
    void pushDatabaseBackInPool(std::unique_ptr<FMDatabase> db);

    const QString mPath;
    const FMDatabaseTimings mTimings;
    const int mOpenFlags;
    mutable std::mutex mLock;
    std::vector<std::unique_ptr<FMDatabase>> mDatabaseInPool;
    std::vector<FMDatabase *> mDatabaseOutPool;  // owned by the work using them
    unsigned mMaximumNumberOfDatabasesToCreate = 0;
};
