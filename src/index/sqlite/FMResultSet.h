#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

class FMDatabase;
class FMStatement;

// The cursor of one query: steps its statement row by row and reads the current
// row's columns by position (from 0) or by name (any letter case). It holds its
// statement (shared with the connection's cache when that is on) and marks it
// in use while open; it knows its connection without owning it; closing either
// side leaves the other consistent. A missing column, a negative position or a
// closed result set read as 0, false, a null value or an invalid QVariant.
class FMResultSet
{
public:
    ~FMResultSet();
    FMResultSet(const FMResultSet &) = delete;
    FMResultSet &operator=(const FMResultSet &) = delete;

    // Steps once: true for a row. At the end of the rows or on an error the
    // result set closes itself; the connection's last error tells which.
    bool next();
    // Resets the statement and lets it go (an uncached one is finalized), then
    // leaves the connection; a second close does nothing.
    void close();

    const QString &query() const { return mQuery; }
    void setParentDB(FMDatabase *database) { mParentDB = database; }

    int columnCount() const;
    QString columnNameForIndex(int columnIndex) const;
    // -1 when the result has no such column; when two columns share a name the later wins.
    int columnIndexForName(const QString &columnName) const;

    int intForColumnIndex(int columnIndex) const;
    long longForColumnIndex(int columnIndex) const;
    qint64 longLongIntForColumnIndex(int columnIndex) const;
    quint64 unsignedLongLongIntForColumnIndex(int columnIndex) const;
    bool boolForColumnIndex(int columnIndex) const;
    double doubleForColumnIndex(int columnIndex) const;
    QString stringForColumnIndex(int columnIndex) const;   // null for NULL
    QDateTime dateForColumnIndex(int columnIndex) const;   // seconds since 1970, UTC
    QByteArray dataForColumnIndex(int columnIndex) const;  // null for NULL or an empty blob
    bool columnIndexIsNull(int columnIndex) const;
    // The column's text as the library holds it (UTF-8), without a copy: valid
    // until the next step. A null view for NULL.
    QByteArrayView utf8ForColumnIndex(int columnIndex) const;
    // By the column's type: qint64, double, QByteArray or QString; an invalid
    // QVariant (the null object) for NULL and for an empty blob.
    QVariant objectForColumnIndex(int columnIndex) const;

    int intForColumn(const QString &columnName) const { return intForColumnIndex(columnIndexForName(columnName)); }
    long longForColumn(const QString &columnName) const { return longForColumnIndex(columnIndexForName(columnName)); }
    qint64 longLongIntForColumn(const QString &columnName) const
    {
        return longLongIntForColumnIndex(columnIndexForName(columnName));
    }
    quint64 unsignedLongLongIntForColumn(const QString &columnName) const
    {
        return unsignedLongLongIntForColumnIndex(columnIndexForName(columnName));
    }
    bool boolForColumn(const QString &columnName) const { return boolForColumnIndex(columnIndexForName(columnName)); }
    double doubleForColumn(const QString &columnName) const
    {
        return doubleForColumnIndex(columnIndexForName(columnName));
    }
    QString stringForColumn(const QString &columnName) const
    {
        return stringForColumnIndex(columnIndexForName(columnName));
    }
    QDateTime dateForColumn(const QString &columnName) const
    {
        return dateForColumnIndex(columnIndexForName(columnName));
    }
    QByteArray dataForColumn(const QString &columnName) const
    {
        return dataForColumnIndex(columnIndexForName(columnName));
    }
    bool columnIsNull(const QString &columnName) const { return columnIndexIsNull(columnIndexForName(columnName)); }
    QVariant objectForColumnName(const QString &columnName) const
    {
        return objectForColumnIndex(columnIndexForName(columnName));
    }

private:
    friend class FMDatabase;
    // The statement must not be in use by another result set.
    FMResultSet(std::shared_ptr<FMStatement> statement, FMDatabase *parentDB);

    // Whether the position names a column of the current statement.
    bool hasColumn(int columnIndex) const;
    const QHash<QString, int> &columnNameToIndexMap() const;

    std::shared_ptr<FMStatement> mStatement;
    FMDatabase *mParentDB;
    QString mQuery;
    mutable QHash<QString, int> mColumnNameToIndexMap;
};
