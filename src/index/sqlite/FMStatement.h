#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

struct sqlite3_stmt;

// Owns one prepared statement and finalizes it when closed or destroyed. A
// statement kept in its connection's cache is reset between uses instead; the
// in-use mark keeps one that a result set is reading from being handed out again.
class FMStatement
{
public:
    FMStatement(sqlite3_stmt *statement, const QString &query);
    ~FMStatement();
    FMStatement(const FMStatement &) = delete;
    FMStatement &operator=(const FMStatement &) = delete;

    sqlite3_stmt *statement() const { return mStatement; }
    // The SQL text it was prepared from, and cached under.
    const QString &query() const { return mQuery; }
    // How many executions used it.
    long useCount() const { return mUseCount; }
    void countUse() { ++mUseCount; }
    // Whether a result set is reading it.
    bool inUse() const { return mInUse; }
    void setInUse(bool inUse) { mInUse = inUse; }

    // Bind text (UTF-8) or blob bytes to a placeholder (from 1) without the
    // library copying them: the statement keeps the bytes until that
    // placeholder is bound again or the statement is closed.
    int bindText(int column, QByteArray utf8);
    int bindBlob(int column, QByteArray bytes);
    // Binders for a loop that runs the statement once per row of its own
    // (FMDatabase::statementForRepeatedUse): nothing is wrapped, copied or
    // kept. The bytes must stay where they are until the statement has run;
    // a null view binds the empty text, not NULL.
    int bindInt64(int column, qint64 value);
    int bindTextUntilRun(int column, QByteArrayView utf8);

    // Finalizes the statement. The library keeps the error of its last step
    // readable on the connection.
    void close();
    // Makes the statement ready to run again (its bindings stay) and clears the
    // in-use mark. The error of its last step stays readable as after close().
    void reset();

private:
    void keepBound(int column, QByteArray bytes);

    sqlite3_stmt *mStatement;
    QString mQuery;
    std::vector<QByteArray> mBoundBytes;  // by placeholder position less one
    long mUseCount = 0;
    bool mInUse = false;
};
