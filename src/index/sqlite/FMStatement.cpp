#include "index/sqlite/FMStatement.h"

#include <sqlite3.h>

FMStatement::FMStatement(sqlite3_stmt *statement, const QString &query)
    : mStatement(statement)
    , mQuery(query)
{}

FMStatement::~FMStatement() { close(); }

void FMStatement::close()
{
    if (mStatement)
        sqlite3_finalize(mStatement);
    mStatement = nullptr;
    mBoundBytes.clear();
    mInUse = false;
}

void FMStatement::reset()
{
    if (mStatement)
        sqlite3_reset(mStatement);
    mInUse = false;
}

int FMStatement::bindText(int column, QByteArray utf8)
{
    const int result = sqlite3_bind_text(mStatement, column, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    keepBound(column, std::move(utf8));
    return result;
}

int FMStatement::bindBlob(int column, QByteArray bytes)
{
    const int result = sqlite3_bind_blob(mStatement, column, bytes.constData(), int(bytes.size()), SQLITE_STATIC);
    keepBound(column, std::move(bytes));
    return result;
}

int FMStatement::bindInt64(int column, qint64 value) { return sqlite3_bind_int64(mStatement, column, value); }

int FMStatement::bindTextUntilRun(int column, QByteArrayView utf8)
{
    return sqlite3_bind_text(mStatement, column, utf8.data() ? utf8.data() : "", int(utf8.size()), SQLITE_STATIC);
}

void FMStatement::keepBound(int column, QByteArray bytes)
{
    // Replaced only now that the placeholder points at the new bytes. A move
    // keeps the bytes where they are.
    if (mBoundBytes.size() < size_t(column))
        mBoundBytes.resize(size_t(column));
    mBoundBytes[size_t(column - 1)] = std::move(bytes);
}
