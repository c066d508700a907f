#pragma once

#include <QString>

struct sqlite3_stmt;

// Owns one prepared statement and finalizes it when closed or destroyed.
class FMStatement
{
public:
    FMStatement(sqlite3_stmt *statement, const QString &query);
    ~FMStatement();
    FMStatement(const FMStatement &) = delete;
    FMStatement &operator=(const FMStatement &) = delete;

    sqlite3_stmt *statement() const { return mStatement; }
    const QString &query() const { return mQuery; }

    // Finalizes the statement. The library keeps the error of its last step
    // readable on the connection.
    void close();

private:
    sqlite3_stmt *mStatement;
    QString mQuery;
};
