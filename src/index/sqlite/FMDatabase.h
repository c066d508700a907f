#pragma once

#include "index/sqlite/FMDatabaseTimings.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariantList>

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class FMResultSet;
class FMStatement;

// One connection to an SQLite database file, always unlocked with the index key.
// Failures are answered (false, or no result set) and explained by
// lastErrorMessage() and lastErrorCode(); nothing throws. A connection is used
// by one thread at a time; other connections' locks are waited for by the busy
// handler (FMDatabaseTimings).
//
// Arguments fill the "?" placeholders in order, exactly one value each, and bind as:
//   invalid QVariant or nullptr    NULL
//   QByteArray                     blob (an empty one stays a zero-length blob)
//   QDateTime                      double: seconds since 1970 (an invalid one NULL)
//   bool                           integer 1 or 0
//   signed or unsigned integers    integer (unsigned 32-bit values zero-extended)
//   float, double                  double
//   anything else, QString too     text (a null QString is the empty text)
// Text and blobs are kept by the statement when bound, so the caller's values may go at once.
//
// With the statement cache on, a statement is prepared once per SQL text and
// reset for every later execution of the same text; a statement that an open
// result set is reading is never handed out twice (a second statement is
// prepared for the same text instead). Closing the connection finalizes them.
class FMDatabase
{
public:
    // SQL text to the statements prepared for it.
    using CachedStatements = QHash<QString, std::vector<std::shared_ptr<FMStatement>>>;

    // The one key of every index file: eight hexadecimal digits, passed as their
    // eight bytes without a terminator.
    static const QByteArray kDatabaseKey;
    // Read-write, creating a missing file.
    static constexpr int kDefaultOpenFlags = 0x02 | 0x04;  // read-write, create
    static constexpr int kOpenExistingFlags = 0x02;        // read-write, never create

    FMDatabase();  // an in-memory database
    explicit FMDatabase(const QString &path, FMDatabaseTimings timings = {});
    ~FMDatabase();
    FMDatabase(const FMDatabase &) = delete;
    FMDatabase &operator=(const FMDatabase &) = delete;

    const QString &databasePath() const { return mDatabasePath; }

    // Opens (creating a missing file) and keys the database. An open connection
    // answers true at once. A failed open keeps no handle, so the next open
    // tries again; its reason stays readable. A wrong key or a file that is not
    // a database shows on the first statement that reads it.
    bool open() { return openWithFlags(kDefaultOpenFlags); }
    // As open() with the library's open flags; keyed too, as every index file is.
    bool openWithFlags(int flags);
    // Closes every open result set, then the handle. Always true.
    bool close();
    // Whether the schema can be read: false for a closed connection, a wrong key
    // or a file that is not a database.
    bool goodConnection();
    // Switches the file to write-ahead logging, so that readers never wait for
    // a writer. True only when the file is in that mode afterwards: the switch
    // is ignored inside a transaction and needs every other connection's lock
    // gone (waited for as any lock).
    bool setWal();

    // The statement is stepped by the result set's next(); none on failure.
    std::unique_ptr<FMResultSet> executeQuery(const QString &sql, const QVariantList &arguments = {});
    // Steps the statement once; true when it ran to its end.
    bool executeUpdate(const QString &sql, const QVariantList &arguments = {});

    // For a loop that runs one statement for every row of a large batch: the
    // statement prepared once and kept for that caller alone (never handed out
    // by the cache), whose values it binds through FMStatement's typed binders
    // and runs with executeUpdate(statement), without wrapping a value or
    // looking up the text per row. Closing the connection finalizes it. None
    // when it cannot be prepared.
    std::shared_ptr<FMStatement> statementForRepeatedUse(const QString &sql);
    // Steps a statement of this connection once with the values bound, then
    // resets it; true when it ran to its end.
    bool executeUpdate(FMStatement &statement);
    // The same with the arguments bound first, as executeUpdate(sql, arguments) binds them.
    bool executeUpdate(FMStatement &statement, const QVariantList &arguments);
    // The rows of such a statement with the values bound; the result set
    // resets it when it closes.
    std::unique_ptr<FMResultSet> executeQuery(const std::shared_ptr<FMStatement> &statement);

    bool beginTransaction();  // exclusive
    bool beginDeferredTransaction();
    bool commit();
    bool rollback();
    bool inTransaction() const { return mInTransaction; }

    // Whether a table of that name exists, whatever the letter case.
    bool tableExists(const QString &tableName);

    // Replaces the whole content of this database with the source's in one
    // write transaction of this connection (the library's online backup):
    // other connections see the old content or the new, never a mix, and a
    // process killed midway leaves the old. Both must be open (with the one
    // key). A lock held elsewhere is waited for as by any write.
    bool replaceContentsWith(FMDatabase &source);

    QString lastErrorMessage() const;
    int lastErrorCode() const;
    // True when the last statement broke a uniqueness or other constraint.
    bool lastErrorWasConstraint() const;
    // True when the last error code is an error, not a row or the end of the rows.
    bool hadError() const;
    int changes() const;
    qint64 lastInsertRowId() const;

    double maxBusyRetryTimeInterval() const { return mMaxBusyRetryTimeInterval; }
    // Installs the busy handler for a positive interval, removes it otherwise.
    void setMaxBusyRetryTimeInterval(double seconds);

    bool hasOpenResultSets() const { return !mOpenResultSets.empty(); }

    bool shouldCacheStatements() const { return mShouldCacheStatements; }
    // Off drops the cache; its statements are finalized once no result set reads them.
    void setShouldCacheStatements(bool shouldCache);
    const CachedStatements &cachedStatements() const { return mCachedStatements; }

private:
    friend class FMResultSet;

    struct Error
    {
        int code;
        QString message;
    };

    QByteArray sqlitePath() const;
    void failWith(int code, const QString &message);
    bool ensureOpenForExecution();
    // Open, and the statement not finalized by a close since.
    bool ensureRunnable(const FMStatement &statement);
    // A statement of the text ready to run with the arguments bound: a free one
    // from the cache, or a new one (cached when the cache is on). None on failure.
    std::shared_ptr<FMStatement> prepareAndBind(const QString &sql, const QVariantList &arguments);
    bool bindArguments(FMStatement &statement, const QVariantList &arguments);
    std::shared_ptr<FMStatement> cachedStatementForQuery(const QString &sql) const;
    std::shared_ptr<FMStatement> prepare(const QString &sql);
    void clearCachedStatements();
    bool runTransactionStatement(const QString &sql, bool inTransactionAfter);
    void resultSetDidClose(FMResultSet *resultSet);
    void closeOpenResultSets();

    static int bindObject(const QVariant &value, int column, FMStatement &statement);
    static int busyHandler(void *context, int count);

    QString mDatabasePath;
    sqlite3 *mDb = nullptr;
    bool mInTransaction = false;
    double mMaxBusyRetryTimeInterval;
    std::chrono::milliseconds mBusyRetryStep;
    std::chrono::steady_clock::time_point mStartBusyRetryTime;
    bool mShouldCacheStatements = false;
    CachedStatements mCachedStatements;
    std::vector<std::shared_ptr<FMStatement>> mRepeatedStatements;
    std::set<FMResultSet *> mOpenResultSets;  // not owned: each closes and leaves itself
    // An error the library cannot report: a failed open, a closed connection, a refused binding.
    std::optional<Error> mLayerError;
};
