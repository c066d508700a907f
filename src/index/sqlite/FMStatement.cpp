#include "FMStatement.h"

#include <sqlite3.h>

FMStatement::FMStatement(sqlite3_stmt *statement, const QString &query)
    : mStatement(statement), mQuery(query)
{
}

FMStatement::~FMStatement()
{
    close();
}

void FMStatement::close()
{
    if (mStatement)
        sqlite3_finalize(mStatement);
    mStatement = nullptr;
    mInUse = false;
}

void FMStatement::reset()
{
    if (mStatement)
        sqlite3_reset(mStatement);
    mInUse = false;
}
