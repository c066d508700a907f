#include "index/journals/DataBaseWrapper.h"
#include "index/journals/FinishedJournals.h"
#include "index/sqlite/DatabaseFixture.h"
#include "index/sqlite/FMResultSet.h"

#include <QDir>
#include <QFile>
#include <QMutex>

#include <atomic>
#include <thread>

namespace {

// A journal of the test's own small form: rows of (path, operation), merged
// into the table "files" of "<user>.qlenc" in one transaction.
class TestJournal : public MergeableJournal
{
public:
    struct Log
    {
        QMutex mutex;
        QStringList merged;  // journal names, in the order their merges committed
        std::atomic<int> running{0};
        std::atomic<int> overlaps{0};
        int pauseMilliseconds = 0;
    };

    explicit TestJournal(Log &log)
        : mLog(log)
    {}

    static constexpr FMDatabaseTimings kShortBusyWait{std::chrono::milliseconds(100), std::chrono::milliseconds(10)};

    bool openDatabaseAtPath(const QString &folder, const QString &name, QString *error) override
    {
        mName = name;
        mJournal = std::make_unique<FMDatabase>(QDir(folder).filePath(name));
        return answer(mJournal->open(), *mJournal, error);
    }

    Outcome updateMasterDatabase(const QString &folder, const QString &user, QString *error) override
    {
        if (mLog.running.fetch_add(1) > 0)
            ++mLog.overlaps;
        std::this_thread::sleep_for(std::chrono::milliseconds(mLog.pauseMilliseconds));
        const Outcome outcome = merge(folder, user, error);
        --mLog.running;
        return outcome;
    }

    void closeDatabase() override { mJournal.reset(); }

    void removeDataBaseAtPath(const QString &path) override
    {
        mJournal.reset();
        QFile::remove(path);
    }

private:
    static bool answer(bool done, FMDatabase &db, QString *error)
    {
        if (!done && error)
            *error = db.lastErrorMessage();
        return done;
    }

    Outcome merge(const QString &folder, const QString &user, QString *error)
    {
        auto rows = mJournal->executeQuery("select path, op from j order by rowid");
        if (!rows) {
            answer(false, *mJournal, error);
            return Outcome::JournalFailed;
        }
        FMDatabase main(QDir(folder).filePath(user + ".qlenc"), kShortBusyWait);
        if (!main.open() || !main.beginTransaction()) {
            answer(false, main, error);
            return Outcome::MainIndexFailed;
        }
        bool done = main.executeUpdate("create table if not exists files(path text primary key)");
        while (done && rows->next()) {
            const QString sql = rows->stringForColumn("op") == "INSERT" ? "insert or replace into files values (?)"
                                                                        : "delete from files where path = ?";
            done = main.executeUpdate(sql, {rows->stringForColumn("path")});
        }
        done = done && main.commit();
        if (done) {
            QMutexLocker lock(&mLog.mutex);
            mLog.merged.append(mName);
        }
        return answer(done, main, error) ? Outcome::Committed : Outcome::MainIndexFailed;
    }

    Log &mLog;
    QString mName;
    std::unique_ptr<FMDatabase> mJournal;
};

class DataBaseWrapperTest : public DatabaseFixture
{
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        folder = root() + "/ldb";
        QDir().mkpath(folder);
    }

    DataBaseWrapper makeWrapper()
    {
        return DataBaseWrapper([this] { return std::make_unique<TestJournal>(log); });
    }

    void writeJournal(const QString &name, const QList<QPair<QString, QString>> &rows)
    {
        auto db = openDatabase(QDir(folder).filePath(name));
        ASSERT_TRUE(db->executeUpdate("create table j(path text, op text)"));
        for (const auto &[path, op] : rows)
            ASSERT_TRUE(db->executeUpdate("insert into j values (?, ?)", {path, op}));
    }

    QStringList indexedPaths()
    {
        auto db = openDatabase(QDir(folder).filePath("ann.qlenc"));
        QStringList paths;
        auto rs = db->executeQuery("select path from files order by path");
        while (rs && rs->next())
            paths.append(rs->stringForColumnIndex(0));
        return paths;
    }

    QStringList folderNames() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    QString folder;
    TestJournal::Log log;
};

TEST_F(DataBaseWrapperTest, MergesAndDeletesOnlyFinishedJournals)
{
    writeJournal("x.qlt", {{"/a", "INSERT"}});
    writeJournal("y.qlt.progress", {{"/b", "INSERT"}});
    writeJournal("z.QLT", {{"/c", "INSERT"}});
    EXPECT_TRUE(makeWrapper().updateMasterDataBase(folder, "ann"));
    EXPECT_EQ(log.merged, QStringList{"x.qlt"});
    EXPECT_EQ(folderNames(), QStringList({"ann.qlenc", "y.qlt.progress", "z.QLT"}));
    EXPECT_EQ(indexedPaths(), QStringList{"/a"});
}

TEST_F(DataBaseWrapperTest, AFolderWithoutJournalsMergesNothing)
{
    EXPECT_FALSE(makeWrapper().updateMasterDataBase(folder, "ann"));
    EXPECT_FALSE(makeWrapper().updateMasterDataBase(root() + "/missing", "ann"));
    EXPECT_TRUE(folderNames().isEmpty());
}

TEST_F(DataBaseWrapperTest, JournalsAreMergedInTheOrderTheyWereWritten)
{
    // Listed by name these would run backwards: the sequence is a number and
    // the time carries its zone offset.
    const QString first = "2026-03-01 09:30:00 +0100_7.qlt";   // 08:30 UTC
    const QString second = "2026-03-01 09:00:00 +0000_5.qlt";  // 09:00 UTC
    const QString third = "2026-03-01 09:00:00 +0000_12.qlt";
    writeJournal(third, {{"/a", "INSERT"}});
    writeJournal(first, {{"/a", "INSERT"}, {"/b", "INSERT"}});
    writeJournal(second, {{"/a", "DELETE"}});
    writeJournal("left-over.qlt", {{"/b", "DELETE"}});
    EXPECT_EQ(FinishedJournals::namesOldestFirst(folder), QStringList({"left-over.qlt", first, second, third}));

    EXPECT_TRUE(makeWrapper().updateMasterDataBase(folder, "ann"));
    EXPECT_EQ(log.merged, QStringList({"left-over.qlt", first, second, third}));
    EXPECT_EQ(indexedPaths(), QStringList({"/a", "/b"}));
    EXPECT_EQ(folderNames(), QStringList{"ann.qlenc"});
}

TEST_F(DataBaseWrapperTest, ABusyMainIndexKeepsEveryJournalForTheNextMerge)
{
    writeJournal("2026-03-01 09:00:00 +0000_1.qlt", {{"/a", "INSERT"}});
    writeJournal("2026-03-01 09:00:00 +0000_2.qlt", {{"/a", "DELETE"}, {"/b", "INSERT"}});
    auto reader = openDatabase(QDir(folder).filePath("ann.qlenc"));
    ASSERT_TRUE(reader->beginTransaction());  // holds the main index past the busy time

    // However often it is found busy, no sound journal is set aside.
    DataBaseWrapper wrapper = makeWrapper();
    for (int attempt = 0; attempt <= DataBaseWrapper::kMaxMergeAttempts; ++attempt) {
        EXPECT_FALSE(wrapper.updateMasterDataBase(folder, "ann"));
        EXPECT_EQ(FinishedJournals::namesOldestFirst(folder).size(), 2);
    }

    ASSERT_TRUE(reader->commit());
    EXPECT_TRUE(wrapper.updateMasterDataBase(folder, "ann"));
    EXPECT_EQ(folderNames(), QStringList{"ann.qlenc"});
    EXPECT_EQ(indexedPaths(), QStringList{"/b"});
}

TEST_F(DataBaseWrapperTest, AJournalThatKeepsFailingIsSetAsideAndTheNextOnesGoOn)
{
    const QString broken = "2026-03-01 09:00:00 +0000_1.qlt";
    const QString next = "2026-03-01 09:00:00 +0000_2.qlt";
    writeText(QDir(folder).filePath(broken), QByteArray(2048, 'x'));
    writeJournal(next, {{"/b", "INSERT"}});

    DataBaseWrapper wrapper = makeWrapper();
    for (int attempt = 1; attempt < DataBaseWrapper::kMaxMergeAttempts; ++attempt) {
        EXPECT_FALSE(wrapper.updateMasterDataBase(folder, "ann"));
        EXPECT_EQ(folderNames(), QStringList({broken, next}));
    }
    EXPECT_TRUE(wrapper.updateMasterDataBase(folder, "ann"));
    EXPECT_EQ(folderNames(), QStringList({broken + DataBaseWrapper::kSetAsideSuffix, "ann.qlenc"}));
    EXPECT_EQ(indexedPaths(), QStringList{"/b"});
}

TEST_F(DataBaseWrapperTest, AStoppedMergeEndsBeforeItsNextJournalAndTheRestWaitsForTheNextStart)
{
    for (int i = 1; i <= 5; ++i)
        writeJournal(QString("2026-03-01 09:00:0%1 +0000_%1.qlt").arg(i), {{QString("/f%1").arg(i), "INSERT"}});
    log.pauseMilliseconds = 150;
    DataBaseWrapper wrapper = makeWrapper();
    std::thread merging([&] { wrapper.updateMasterDataBase(folder, "ann"); });
    while (log.running == 0)
        std::this_thread::yield();
    wrapper.stopMerging();
    merging.join();
    EXPECT_EQ(log.merged.size(), 1);  // the journal under way is merged whole
    EXPECT_EQ(indexedPaths(), QStringList{"/f1"});

    log.pauseMilliseconds = 0;
    EXPECT_TRUE(makeWrapper().updateMasterDataBase(folder, "ann"));  // the next start
    EXPECT_EQ(indexedPaths(), (QStringList{"/f1", "/f2", "/f3", "/f4", "/f5"}));
}

TEST_F(DataBaseWrapperTest, MergesIntoOneFolderNeverOverlap)
{
    for (int i = 1; i <= 4; ++i)
        writeJournal(QString("2026-03-01 09:00:00 +0000_%1.qlt").arg(i), {{QString("/f%1").arg(i), "INSERT"}});
    log.pauseMilliseconds = 20;
    // Two managers' wrappers, naming the folder in two ways.
    DataBaseWrapper first = makeWrapper();
    DataBaseWrapper second = makeWrapper();
    std::atomic<int> merged{0};
    std::thread a([&] { merged += first.updateMasterDataBase(folder, "ann"); });
    std::thread b([&] { merged += second.updateMasterDataBase(folder + "/./", "ann"); });
    a.join();
    b.join();
    EXPECT_EQ(log.overlaps.load(), 0);
    EXPECT_EQ(log.merged.size(), 4);
    EXPECT_GE(merged.load(), 1);
    EXPECT_EQ(indexedPaths(), QStringList({"/f1", "/f2", "/f3", "/f4"}));
}

}  // namespace
