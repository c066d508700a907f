#include "DatabaseFixture.h"
#include "index/sqlite/FMDatabasePool.h"
#include "index/sqlite/FMDatabaseQueue.h"
#include "index/sqlite/FMResultSet.h"

#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kRowsPerThread = 10;

int rowCount(FMDatabase *db)
{
    auto rs = db->executeQuery("select count(*) from t");
    return rs && rs->next() ? rs->intForColumnIndex(0) : -1;
}

// Runs the work on several threads at once and waits for all of them.
void onThreads(const std::function<void(int thread)> &work)
{
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back(work, i);
    for (auto &thread : threads)
        thread.join();
}

class FMDatabaseQueuePoolTest : public DatabaseFixture
{
protected:
    // Writers on separate connections wait for each other's locks as long as the product does.
    static constexpr FMDatabaseTimings kWaitingTimings{FMDatabaseTimings{}.maxBusyRetry, std::chrono::milliseconds(10)};

    void SetUp() override
    {
        DatabaseFixture::SetUp();
        auto db = openDatabase(dbPath());
        ASSERT_TRUE(db->executeUpdate("create table t(thread integer, n integer)"));
    }
};

TEST_F(FMDatabaseQueuePoolTest, AQueueRunsWorkFromSeveralThreadsOneAfterTheOther)
{
    auto queue = FMDatabaseQueue::databaseQueueWithPath(dbPath(), FMDatabase::kDefaultOpenFlags, kWaitingTimings);
    ASSERT_TRUE(queue);
    std::atomic<int> running{0};
    std::atomic<int> overlaps{0};
    onThreads([&](int thread) {
        for (int n = 0; n < kRowsPerThread; ++n) {
            queue->inDatabase([&](FMDatabase *db) {
                if (running.fetch_add(1) > 0)
                    ++overlaps;
                EXPECT_TRUE(db->executeUpdate("insert into t values (?, ?)", {thread, n}));
                --running;
            });
        }
    });
    EXPECT_EQ(overlaps.load(), 0);
    queue->inDatabase([](FMDatabase *db) { EXPECT_EQ(rowCount(db), kThreads * kRowsPerThread); });

    queue->inTransaction([](FMDatabase *db, bool &rollback) {
        EXPECT_TRUE(db->executeUpdate("delete from t"));
        rollback = true;
    });
    // Closing drops the connection; the next work opens a new one.
    queue->close();
    queue->inDatabase([](FMDatabase *db) {
        ASSERT_TRUE(db);
        EXPECT_EQ(rowCount(db), kThreads * kRowsPerThread);
    });
}

TEST_F(FMDatabaseQueuePoolTest, AQueueOnAFileThatCannotBeOpenedIsNotCreated)
{
    EXPECT_EQ(FMDatabaseQueue::databaseQueueWithPath(root() + "/missing/index.qlenc"), nullptr);
}

TEST_F(FMDatabaseQueuePoolTest, WorkThatWaitsForItsOwnQueueStopsInsteadOfHanging)
{
    auto queue = FMDatabaseQueue::databaseQueueWithPath(dbPath(), FMDatabase::kDefaultOpenFlags, kWaitingTimings);
    ASSERT_TRUE(queue);
    EXPECT_DEATH(queue->inDatabase([&](FMDatabase *) { queue->inDatabase([](FMDatabase *) {}); }),
                 "inDatabase: was called reentrantly on the same queue");
}

TEST_F(FMDatabaseQueuePoolTest, APoolGivesEachThreadAConnectionOfItsOwn)
{
    FMDatabasePool pool(dbPath(), FMDatabase::kDefaultOpenFlags, kWaitingTimings);
    onThreads([&](int thread) {
        for (int n = 0; n < kRowsPerThread; ++n) {
            pool.inTransaction([&](FMDatabase *db, bool &) {
                ASSERT_TRUE(db);
                EXPECT_TRUE(db->executeUpdate("insert into t values (?, ?)", {thread, n}))
                    << db->lastErrorMessage().toStdString();
            });
        }
    });
    EXPECT_EQ(pool.countOfCheckedOutDatabases(), 0);
    EXPECT_GE(pool.countOfCheckedInDatabases(), 1);
    EXPECT_LE(pool.countOfOpenDatabases(), kThreads);
    pool.inDatabase([](FMDatabase *db) { EXPECT_EQ(rowCount(db), kThreads * kRowsPerThread); });
    pool.inDeferredTransaction([](FMDatabase *db, bool &rollback) {
        EXPECT_TRUE(db->executeUpdate("delete from t"));
        rollback = true;
    });
    pool.inDatabase([](FMDatabase *db) { EXPECT_EQ(rowCount(db), kThreads * kRowsPerThread); });
}

TEST_F(FMDatabaseQueuePoolTest, APoolAtItsMaximumHandsOutNoFurtherConnection)
{
    FMDatabasePool pool(dbPath(), FMDatabase::kDefaultOpenFlags, kWaitingTimings);
    pool.setMaximumNumberOfDatabasesToCreate(2);
    pool.inDatabase([&](FMDatabase *first) {
        ASSERT_TRUE(first);
        pool.inDatabase([&](FMDatabase *second) {
            ASSERT_TRUE(second);
            EXPECT_NE(second, first);
            EXPECT_EQ(pool.countOfCheckedOutDatabases(), 2);
            pool.inDatabase([](FMDatabase *third) { EXPECT_EQ(third, nullptr); });
        });
        // One is back, so it is handed out again.
        pool.inDatabase([](FMDatabase *again) { EXPECT_NE(again, nullptr); });
    });
    EXPECT_EQ(pool.countOfCheckedInDatabases(), 2);

    // A connection released while it is out is not taken back.
    pool.inDatabase([&](FMDatabase *) { pool.releaseAllDatabases(); });
    EXPECT_EQ(pool.countOfOpenDatabases(), 0);

    FMDatabasePool unreachable(root() + "/missing/index.qlenc");
    unreachable.inDatabase([](FMDatabase *db) { EXPECT_EQ(db, nullptr); });
    EXPECT_EQ(unreachable.countOfOpenDatabases(), 0);
}

}  // namespace
