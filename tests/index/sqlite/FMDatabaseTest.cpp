#include "DatabaseFixture.h"
#include "index/sqlite/FMResultSet.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <chrono>
#include <limits>
#include <thread>

namespace {

// Writes a one-table database with a key other than the index key, or none.
void writeDatabaseWithKey(const QString &path, const QByteArray &key)
{
    sqlite3 *handle = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &handle), SQLITE_OK);
    if (!key.isEmpty())
        sqlite3_key(handle, key.constData(), int(key.size()));
    ASSERT_EQ(sqlite3_exec(handle, "create table t(a); insert into t values (1);", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(handle);
}

int rowCount(FMDatabase &db, const QString &table)
{
    auto rs = db.executeQuery("select count(*) from " + table);
    return rs && rs->next() ? rs->intForColumnIndex(0) : -1;
}

class FMDatabaseTest : public DatabaseFixture
{};

TEST_F(FMDatabaseTest, WritesAnEncryptedFileThatAnotherConnectionReadsWithTheKey)
{
    {
        auto db = openDatabase(dbPath());
        ASSERT_TRUE(db->executeUpdate("create table t(name text)"));
        ASSERT_TRUE(db->beginTransaction());
        ASSERT_TRUE(db->executeUpdate("insert into t values (?)", {"secret name"}));
        // A second open leaves the connection and its transaction as they are.
        EXPECT_TRUE(db->open());
        EXPECT_TRUE(db->inTransaction());
        ASSERT_TRUE(db->commit());
        EXPECT_FALSE(db->inTransaction());
    }
    QFile file(dbPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
    EXPECT_FALSE(bytes.contains("secret name"));

    auto reader = openDatabase(dbPath());
    EXPECT_TRUE(reader->goodConnection());
    auto rs = reader->executeQuery("select name from t");
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), "secret name");
}

TEST_F(FMDatabaseTest, AFileWithAnotherKeyOrNoDatabaseIsAnErrorOnTheFirstRead)
{
    writeDatabaseWithKey(dbPath("other-key.qlenc"), "another key");
    writeDatabaseWithKey(dbPath("plain.db"), QByteArray());
    writeText(dbPath("garbage.qlenc"), QByteArray(4096, 'x'));
    for (const QString name : {"other-key.qlenc", "plain.db", "garbage.qlenc"}) {
        SCOPED_TRACE(name.toStdString());
        FMDatabase db(dbPath(name));
        ASSERT_TRUE(db.open());  // the key is only tried by the first read
        EXPECT_FALSE(db.goodConnection());
        EXPECT_EQ(db.executeQuery("select * from t"), nullptr);
        EXPECT_EQ(db.lastErrorCode(), SQLITE_NOTADB);
        EXPECT_EQ(db.lastErrorMessage(), "file is encrypted or is not a database");
        EXPECT_FALSE(db.tableExists("t"));
        EXPECT_TRUE(db.hadError());
        EXPECT_FALSE(db.executeUpdate("insert into t values (2)"));
    }
}

TEST_F(FMDatabaseTest, AFailedOpenKeepsItsReasonAndIsTriedAgain)
{
    const QString path = root() + "/missing/index.qlenc";
    FMDatabase db(path);
    EXPECT_FALSE(db.open());
    EXPECT_EQ(db.lastErrorCode(), SQLITE_CANTOPEN);
    EXPECT_EQ(db.lastErrorMessage(), "unable to open database file");
    // No half-open handle: the next open fails again, and so does every read.
    EXPECT_FALSE(db.open());
    EXPECT_FALSE(db.goodConnection());
    EXPECT_EQ(db.executeQuery("select 1"), nullptr);
    EXPECT_EQ(db.lastErrorMessage(), "unable to open database file");

    ASSERT_TRUE(QDir().mkpath(root() + "/missing"));
    EXPECT_TRUE(db.open());
    EXPECT_TRUE(db.goodConnection());
    EXPECT_FALSE(db.hadError());
}

TEST_F(FMDatabaseTest, ExecutionOnAClosedConnectionIsRefusedWithAReason)
{
    FMDatabase db(dbPath());
    EXPECT_FALSE(db.executeUpdate("create table t(a)"));
    EXPECT_EQ(db.lastErrorCode(), SQLITE_MISUSE);
    EXPECT_EQ(db.lastErrorMessage(), "The FMDatabase " + dbPath() + " is not open.");
    EXPECT_FALSE(db.setWal());
    EXPECT_FALSE(db.beginTransaction());
    EXPECT_FALSE(QFile::exists(dbPath()));
}

TEST_F(FMDatabaseTest, BindsEveryKindOfValue)
{
    const QDateTime oneDayAndAHalfSecond = QDateTime::fromMSecsSinceEpoch(86400500, Qt::UTC);
    const struct
    {
        const char *label;
        QVariant value;
        const char *storedType;
        QVariant readBack;  // objectForColumnIndex
    } cases[] = {
        {"true", QVariant(true), "integer", QVariant(qint64(1))},
        {"false", QVariant(false), "integer", QVariant(qint64(0))},
        {"int", QVariant(-5), "integer", QVariant(qint64(-5))},
        {"uint above 2^31", QVariant(3000000000u), "integer", QVariant(qint64(3000000000LL))},
        {"qint64", QVariant(qint64(-1) << 40), "integer", QVariant(qint64(-1) << 40)},
        {"double", QVariant(1.5), "real", QVariant(1.5)},
        {"date", QVariant(oneDayAndAHalfSecond), "real", QVariant(86400.5)},
        {"invalid date", QVariant(QDateTime()), "null", QVariant()},
        {"text", QVariant(QString::fromUtf8("h\xc3\xa9llo 'q' \"dq\"")), "text",
         QVariant(QString::fromUtf8("h\xc3\xa9llo 'q' \"dq\""))},
        {"null string", QVariant(QString()), "text", QVariant(QString(""))},
        {"bytes", QVariant(QByteArray("\0\1\2", 3)), "blob", QVariant(QByteArray("\0\1\2", 3))},
        {"empty bytes", QVariant(QByteArray()), "blob", QVariant()},
        {"invalid", QVariant(), "null", QVariant()},
        {"nullptr", QVariant::fromValue(nullptr), "null", QVariant()},
    };
    auto db = openDatabase(dbPath());
    ASSERT_TRUE(db->executeUpdate("create table t(v)"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(db->executeUpdate("insert into t(v) values (?)", {c.value}));
        auto rs = db->executeQuery("select typeof(v), v from t where rowid = ?", {db->lastInsertRowId()});
        ASSERT_TRUE(rs && rs->next());
        EXPECT_EQ(rs->stringForColumnIndex(0), c.storedType);
        EXPECT_EQ(rs->objectForColumnIndex(1), c.readBack);
    }
    // The full unsigned 64-bit range survives through its bit pattern.
    const quint64 largest = std::numeric_limits<quint64>::max();
    ASSERT_TRUE(db->executeUpdate("insert into t(v) values (?)", {QVariant(largest)}));
    auto rs = db->executeQuery("select v from t where rowid = ?", {db->lastInsertRowId()});
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->unsignedLongLongIntForColumnIndex(0), largest);
}

TEST_F(FMDatabaseTest, APlaceholderCountMismatchIsRefusedAndLeavesNothingPrepared)
{
    const struct
    {
        const char *sql;
        QVariantList arguments;
    } cases[] = {
        {"insert into t values (?, ?)", {1}},
        {"insert into t values (?, ?)", {1, 2, 3}},
        {"insert into t values (1, 2)", {3}},
    };
    auto db = openDatabase(dbPath());
    ASSERT_TRUE(db->executeUpdate("create table t(a, b)"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_FALSE(db->executeUpdate(c.sql, c.arguments));
        EXPECT_EQ(db->lastErrorCode(), SQLITE_RANGE);
        EXPECT_EQ(db->executeQuery(QString(c.sql).replace("insert into t values", "select"), c.arguments), nullptr);
        EXPECT_FALSE(db->hasOpenResultSets());
    }
    EXPECT_EQ(rowCount(*db, "t"), 0);
}

TEST_F(FMDatabaseTest, FailedStatementsAnswerNoWithTheLibrarysReason)
{
    auto db = openDatabase(dbPath());
    ASSERT_TRUE(db->executeUpdate("create table t(a unique)"));
    ASSERT_TRUE(db->executeUpdate("insert into t values (?)", {1}));

    EXPECT_FALSE(db->executeUpdate("insert into t values (?)", {1}));
    EXPECT_EQ(db->lastErrorCode(), SQLITE_CONSTRAINT);
    EXPECT_TRUE(db->lastErrorMessage().contains("UNIQUE constraint failed"));

    EXPECT_FALSE(db->executeUpdate("insert into nowhere values (1)"));
    EXPECT_EQ(db->lastErrorMessage(), "no such table: nowhere");

    EXPECT_FALSE(db->commit());
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(db->lastErrorMessage(), "cannot commit - no transaction is active");

    // An update must not hand back rows; it is refused, not thrown.
    EXPECT_FALSE(db->executeUpdate("select a from t"));
    EXPECT_EQ(db->lastErrorMessage(), "A executeUpdate is being called with a query string 'select a from t'");

    auto rs = db->executeQuery("select a from t");
    ASSERT_TRUE(rs);
    while (rs->next()) {}
    EXPECT_FALSE(db->hadError());
}

TEST_F(FMDatabaseTest, TransactionsCountsAndWriteAheadLogging)
{
    auto db = openDatabase(dbPath());
    ASSERT_TRUE(db->executeUpdate("create table t(a)"));
    ASSERT_TRUE(db->beginDeferredTransaction());
    ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
    ASSERT_TRUE(db->rollback());
    EXPECT_EQ(rowCount(*db, "t"), 0);

    ASSERT_TRUE(db->beginTransaction());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(db->executeUpdate("insert into t values (?)", {i}));
    ASSERT_TRUE(db->commit());
    EXPECT_EQ(db->lastInsertRowId(), 3);
    ASSERT_TRUE(db->executeUpdate("update t set a = a + 1"));
    EXPECT_EQ(db->changes(), 3);

    ASSERT_TRUE(db->setWal());
    auto rs = db->executeQuery("PRAGMA journal_mode");
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), "wal");
}

TEST_F(FMDatabaseTest, TableExistsIgnoresCaseAndLeavesNoResultSetOpen)
{
    auto db = openDatabase(dbPath());
    ASSERT_TRUE(db->executeUpdate("create table qlfolder(a)"));
    EXPECT_TRUE(db->tableExists("qlFolder"));
    EXPECT_TRUE(db->tableExists("QLFOLDER"));
    EXPECT_FALSE(db->tableExists("qlfile"));
    EXPECT_FALSE(db->hasOpenResultSets());
    db->close();
    EXPECT_FALSE(db->tableExists("qlfolder"));
}

TEST_F(FMDatabaseTest, ClosingTheConnectionClosesItsResultSets)
{
    auto db = openDatabase(dbPath());
    ASSERT_TRUE(db->executeUpdate("create table t(a)"));
    ASSERT_TRUE(db->executeUpdate("insert into t values (1), (2)"));
    auto first = db->executeQuery("select a from t");
    auto second = db->executeQuery("select a from t");
    ASSERT_TRUE(first && first->next());
    EXPECT_TRUE(db->hasOpenResultSets());

    db->close();
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_FALSE(first->next());
    EXPECT_EQ(first->intForColumnIndex(0), 0);
    first->close();
    // The connection may go before its result sets.
    db.reset();
    EXPECT_FALSE(second->next());
}

class FMDatabaseBusyTest : public DatabaseFixture
{
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        auto db = openDatabase(dbPath());
        ASSERT_TRUE(db->executeUpdate("create table t(a)"));
        holder = openDatabase(dbPath());
        ASSERT_TRUE(holder->beginTransaction());  // exclusive: nobody else may read or write
    }

    std::unique_ptr<FMDatabase> holder;
};

TEST_F(FMDatabaseBusyTest, ALockedDatabaseIsRetriedForTheBusyTimeThenReported)
{
    auto writer = openDatabase(dbPath());
    EXPECT_EQ(writer->maxBusyRetryTimeInterval(), kShortBusyRetry);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(writer->executeUpdate("insert into t values (1)"));
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(writer->lastErrorCode(), SQLITE_BUSY);
    EXPECT_EQ(writer->lastErrorMessage(), "database is locked");
    EXPECT_GE(waited.count(), kShortBusyRetry * 0.9);
    EXPECT_LT(waited.count(), 20.0);
}

TEST_F(FMDatabaseBusyTest, ALockReleasedWithinTheBusyTimeIsWaitedFor)
{
    auto writer = openDatabase(dbPath());
    writer->setMaxBusyRetryTimeInterval(10.0);
    std::thread release([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        holder->commit();
    });
    EXPECT_TRUE(writer->executeUpdate("insert into t values (1)")) << writer->lastErrorMessage().toStdString();
    release.join();
    EXPECT_EQ(rowCount(*writer, "t"), 1);
}

TEST_F(FMDatabaseBusyTest, WithoutABusyHandlerALockFailsAtOnce)
{
    const double productBusyRetry = std::chrono::duration<double>(FMDatabaseTimings{}.maxBusyRetry).count();
    auto writer = std::make_unique<FMDatabase>(dbPath());
    ASSERT_TRUE(writer->open());
    EXPECT_EQ(writer->maxBusyRetryTimeInterval(), productBusyRetry);
    writer->setMaxBusyRetryTimeInterval(0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(writer->executeUpdate("insert into t values (1)"));
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(writer->lastErrorCode(), SQLITE_BUSY);
    EXPECT_LT(waited.count(), productBusyRetry / 2);
}

}  // namespace
