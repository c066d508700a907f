#pragma once

#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMDatabaseWork.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

// Runs every piece of database work, one after the other, over one connection
// that any thread may use through it.
class FMDatabaseQueue
{
public:
    // None when the database cannot be opened.
    static std::unique_ptr<FMDatabaseQueue> databaseQueueWithPath(const QString &path,
                                                                  int flags = FMDatabase::kDefaultOpenFlags,
                                                                  FMDatabaseTimings timings = {});

    // Runs the work on the calling thread once no other work runs. Calling it
    // again from inside the work would wait for itself; that stops the program.
    void inDatabase(const FMDatabaseWork &work);
    void inTransaction(const FMTransactionWork &work);
    void inDeferredTransaction(const FMTransactionWork &work);
    // Closes the connection; the next work opens a new one.
    void close();

    const QString &path() const { return mPath; }
    int openFlags() const { return mOpenFlags; }

private:
    FMDatabaseQueue(const QString &path, int flags, FMDatabaseTimings timings, std::unique_ptr<FMDatabase> db);
    FMDatabase *database();
    void runExclusively(const std::function<void()> &body);

    const QString mPath;
    const int mOpenFlags;
    const FMDatabaseTimings mTimings;
    std::unique_ptr<FMDatabase> mDb;
    std::mutex mMutex;
    std::atomic<std::thread::id> mRunningThread;
};
