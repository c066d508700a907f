#include "index/sqlite/FMDatabase.h"

#include "index/sqlite/FMDatabaseKey.h"
#include "index/sqlite/FMResultSet.h"
#include "index/sqlite/FMStatement.h"
#include "platform/PathTemplate.h"

#include <QtGlobal>

#include <sqlite3.h>

const QByteArray FMDatabase::kDatabaseKey = QByteArrayLiteral("e7a41c93");
static_assert(FMDatabase::kDefaultOpenFlags == (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
static_assert(FMDatabase::kOpenExistingFlags == SQLITE_OPEN_READWRITE);

namespace {

const char *const kNotOpenText = "The FMDatabase %@ is not open.";
const char *const kUpdateReturnedRowsText = "A executeUpdate is being called with a query string '%@'";

void requireThreadSafeLibrary()
{
    static const bool threadSafe = sqlite3_threadsafe() != 0;
    if (!threadSafe)
        qFatal("sqlite3_threadsafe()");
}

}  // namespace

FMDatabase::FMDatabase()
    : FMDatabase(QString())
{}

FMDatabase::FMDatabase(const QString &path, FMDatabaseTimings timings)
    : mDatabasePath(path)
    , mMaxBusyRetryTimeInterval(std::chrono::duration<double>(timings.maxBusyRetry).count())
    , mBusyRetryStep(timings.busyRetryStep)
{
    requireThreadSafeLibrary();
}

FMDatabase::~FMDatabase() { close(); }

QByteArray FMDatabase::sqlitePath() const
{
    if (mDatabasePath.isNull())
        return QByteArrayLiteral(":memory:");
    return mDatabasePath.toUtf8();
}

bool FMDatabase::openWithFlags(int flags)
{
    if (mDb)
        return true;
    sqlite3 *handle = nullptr;
    const int result = sqlite3_open_v2(sqlitePath().constData(), &handle, flags, nullptr);
    if (result != SQLITE_OK) {
        // Keep why, but no handle: a later open must try again, not answer yes.
        failWith(result,
                 handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString::fromUtf8(sqlite3_errstr(result)));
        sqlite3_close(handle);
        return false;
    }
    mDb = handle;
    mLayerError.reset();
    if (mMaxBusyRetryTimeInterval > 0)
        setMaxBusyRetryTimeInterval(mMaxBusyRetryTimeInterval);
    // The key is tried by the first read: a wrong one shows there, as "not a database".
    const QByteArray keyText = FMDatabaseKey::keyTextForFile(mDatabasePath, kDatabaseKey);
    sqlite3_key(mDb, keyText.constData(), int(keyText.size()));
    return true;
}

bool FMDatabase::close()
{
    clearCachedStatements();
    closeOpenResultSets();
    if (!mDb)
        return true;
    // No statement is left to keep the handle busy: the cached ones were
    // finalized and the result sets closed above, and an uncached update
    // finalizes its own.
    sqlite3_close(mDb);
    mDb = nullptr;
    mInTransaction = false;
    mLayerError.reset();
    return true;
}

bool FMDatabase::goodConnection()
{
    if (!mDb)
        return false;
    auto resultSet = executeQuery(QStringLiteral("select name from sqlite_master where type='table'"));
    return resultSet != nullptr;
}

bool FMDatabase::setWal()
{
    // The library answers with the mode in force, which stays as it was where
    // the switch cannot be made (inside a transaction, for a memory database).
    auto mode = executeQuery(QStringLiteral("PRAGMA journal_mode = WAL"));
    return mode && mode->next() &&
           mode->stringForColumnIndex(0).compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
}

void FMDatabase::failWith(int code, const QString &message) { mLayerError = Error{code, message}; }

bool FMDatabase::ensureOpenForExecution()
{
    if (!mDb) {
        // A failed open's reason says more than "not open"; keep it.
        if (!mLayerError)
            failWith(SQLITE_MISUSE, PathTemplate::fillTemplate(kNotOpenText, {mDatabasePath}));
        return false;
    }
    mLayerError.reset();
    return true;
}

std::shared_ptr<FMStatement> FMDatabase::prepare(const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *prepared = nullptr;
    if (sqlite3_prepare_v2(mDb, text.constData(), int(text.size()), &prepared, nullptr) != SQLITE_OK) {
        sqlite3_finalize(prepared);
        return nullptr;
    }
    if (!prepared) {  // an empty text or only a comment: nothing to run
        failWith(SQLITE_MISUSE, QString::fromUtf8(sqlite3_errstr(SQLITE_MISUSE)));
        return nullptr;
    }
    return std::make_shared<FMStatement>(prepared, sql);
}

std::shared_ptr<FMStatement> FMDatabase::prepareAndBind(const QString &sql, const QVariantList &arguments)
{
    if (!ensureOpenForExecution())
        return nullptr;
    std::shared_ptr<FMStatement> statement = cachedStatementForQuery(sql);
    const bool fromCache = statement != nullptr;
    if (fromCache)
        statement->reset();
    else
        statement = prepare(sql);
    if (!statement || !bindArguments(*statement, arguments))
        return nullptr;
    if (mShouldCacheStatements && !fromCache)
        mCachedStatements[sql].push_back(statement);
    statement->countUse();
    return statement;
}

bool FMDatabase::bindArguments(FMStatement &statement, const QVariantList &arguments)
{
    // Exactly one value per placeholder: anything else is the caller's mistake
    // and would put values into the wrong columns.
    if (arguments.size() != sqlite3_bind_parameter_count(statement.statement())) {
        failWith(SQLITE_RANGE, QString::fromUtf8(sqlite3_errstr(SQLITE_RANGE)));
        return false;
    }
    for (int index = 0; index < arguments.size(); ++index) {
        if (bindObject(arguments.at(index), index + 1, statement) != SQLITE_OK)
            return false;
    }
    return true;
}

std::shared_ptr<FMStatement> FMDatabase::cachedStatementForQuery(const QString &sql) const
{
    const auto found = mCachedStatements.constFind(sql);
    if (found == mCachedStatements.constEnd())
        return nullptr;
    for (const auto &statement : *found) {
        if (!statement->inUse())
            return statement;
    }
    return nullptr;
}

void FMDatabase::setShouldCacheStatements(bool shouldCache)
{
    mShouldCacheStatements = shouldCache;
    if (!shouldCache)
        mCachedStatements.clear();
}

void FMDatabase::clearCachedStatements()
{
    for (const auto &statements : std::as_const(mCachedStatements)) {
        for (const auto &statement : statements)
            statement->close();
    }
    mCachedStatements.clear();
    for (const auto &statement : mRepeatedStatements)
        statement->close();
    mRepeatedStatements.clear();
}

std::shared_ptr<FMStatement> FMDatabase::statementForRepeatedUse(const QString &sql)
{
    if (!ensureOpenForExecution())
        return nullptr;
    std::shared_ptr<FMStatement> statement = prepare(sql);
    if (statement)
        mRepeatedStatements.push_back(statement);
    return statement;
}

std::unique_ptr<FMResultSet> FMDatabase::executeQuery(const QString &sql, const QVariantList &arguments)
{
    auto statement = prepareAndBind(sql, arguments);
    return statement ? executeQuery(statement) : nullptr;
}

std::unique_ptr<FMResultSet> FMDatabase::executeQuery(const std::shared_ptr<FMStatement> &statement)
{
    if (!ensureRunnable(*statement))
        return nullptr;
    // One cursor at a time per statement.
    if (statement->inUse()) {
        failWith(SQLITE_MISUSE, QString::fromUtf8(sqlite3_errstr(SQLITE_MISUSE)));
        return nullptr;
    }
    std::unique_ptr<FMResultSet> resultSet(new FMResultSet(statement, this));
    mOpenResultSets.insert(resultSet.get());
    return resultSet;
}

bool FMDatabase::executeUpdate(const QString &sql, const QVariantList &arguments)
{
    auto statement = prepareAndBind(sql, arguments);
    // A cached statement waits for its next use; an uncached one is finalized
    // as it goes out of scope.
    return statement && executeUpdate(*statement);
}

bool FMDatabase::ensureRunnable(const FMStatement &statement)
{
    if (!ensureOpenForExecution())
        return false;
    // A statement kept past its connection's close was finalized there.
    if (!statement.statement()) {
        failWith(SQLITE_MISUSE, QString::fromUtf8(sqlite3_errstr(SQLITE_MISUSE)));
        return false;
    }
    return true;
}

bool FMDatabase::executeUpdate(FMStatement &statement, const QVariantList &arguments)
{
    return ensureRunnable(statement) && bindArguments(statement, arguments) && executeUpdate(statement);
}

bool FMDatabase::executeUpdate(FMStatement &statement)
{
    if (!ensureRunnable(statement))
        return false;
    const int result = sqlite3_step(statement.statement());
    statement.reset();
    if (result == SQLITE_ROW) {
        failWith(SQLITE_MISUSE, PathTemplate::fillTemplate(kUpdateReturnedRowsText, {statement.query()}));
        return false;
    }
    return result == SQLITE_DONE || result == SQLITE_OK;
}

bool FMDatabase::runTransactionStatement(const QString &sql, bool inTransactionAfter)
{
    const bool done = executeUpdate(sql);
    if (done)
        mInTransaction = inTransactionAfter;
    return done;
}

bool FMDatabase::beginTransaction()
{
    return runTransactionStatement(QStringLiteral("begin exclusive transaction"), true);
}

bool FMDatabase::beginDeferredTransaction()
{
    return runTransactionStatement(QStringLiteral("begin deferred transaction"), true);
}

bool FMDatabase::commit() { return runTransactionStatement(QStringLiteral("commit transaction"), false); }

bool FMDatabase::rollback() { return runTransactionStatement(QStringLiteral("rollback transaction"), false); }

QString FMDatabase::lastErrorMessage() const
{
    if (mLayerError)
        return mLayerError->message;
    return mDb ? QString::fromUtf8(sqlite3_errmsg(mDb)) : QString();
}

int FMDatabase::lastErrorCode() const
{
    if (mLayerError)
        return mLayerError->code;
    return mDb ? sqlite3_errcode(mDb) : SQLITE_OK;
}

bool FMDatabase::lastErrorWasConstraint() const { return lastErrorCode() == SQLITE_CONSTRAINT; }

bool FMDatabase::hadError() const
{
    const int code = lastErrorCode();
    return code > SQLITE_OK && code < SQLITE_ROW;
}

int FMDatabase::changes() const { return mDb ? sqlite3_changes(mDb) : 0; }

qint64 FMDatabase::lastInsertRowId() const { return mDb ? sqlite3_last_insert_rowid(mDb) : 0; }

void FMDatabase::setMaxBusyRetryTimeInterval(double seconds)
{
    mMaxBusyRetryTimeInterval = seconds;
    if (!mDb)
        return;
    if (seconds > 0)
        sqlite3_busy_handler(mDb, &FMDatabase::busyHandler, this);
    else
        sqlite3_busy_handler(mDb, nullptr, nullptr);
}

int FMDatabase::busyHandler(void *context, int count)
{
    auto *database = static_cast<FMDatabase *>(context);
    const auto now = std::chrono::steady_clock::now();
    if (count == 0) {
        database->mStartBusyRetryTime = now;
        return 1;
    }
    const std::chrono::duration<double> waited = now - database->mStartBusyRetryTime;
    if (waited.count() >= database->mMaxBusyRetryTimeInterval)
        return 0;
    sqlite3_sleep(int(database->mBusyRetryStep.count()));
    return 1;
}

void FMDatabase::resultSetDidClose(FMResultSet *resultSet) { mOpenResultSets.erase(resultSet); }

void FMDatabase::closeOpenResultSets()
{
    const auto stillOpen = mOpenResultSets;
    for (FMResultSet *resultSet : stillOpen) {
        resultSet->setParentDB(nullptr);
        resultSet->close();
    }
    mOpenResultSets.clear();
}
