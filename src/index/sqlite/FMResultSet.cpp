#include "index/sqlite/FMResultSet.h"

#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMStatement.h"

#include <sqlite3.h>

FMResultSet::FMResultSet(std::shared_ptr<FMStatement> statement, FMDatabase *parentDB)
    : mStatement(std::move(statement))
    , mParentDB(parentDB)
    , mQuery(mStatement->query())
{
    Q_ASSERT(!mStatement->inUse());
    mStatement->setInUse(true);
}

FMResultSet::~FMResultSet() { close(); }

bool FMResultSet::next()
{
    if (!mStatement)
        return false;
    if (sqlite3_step(mStatement->statement()) == SQLITE_ROW)
        return true;
    close();
    return false;
}

void FMResultSet::close()
{
    if (!mStatement)
        return;
    mStatement->reset();
    mStatement.reset();
    if (mParentDB)
        mParentDB->resultSetDidClose(this);
    mParentDB = nullptr;
}

int FMResultSet::columnCount() const { return mStatement ? sqlite3_column_count(mStatement->statement()) : 0; }

bool FMResultSet::hasColumn(int columnIndex) const { return columnIndex >= 0 && columnIndex < columnCount(); }

QString FMResultSet::columnNameForIndex(int columnIndex) const
{
    if (!hasColumn(columnIndex))
        return QString();
    return QString::fromUtf8(sqlite3_column_name(mStatement->statement(), columnIndex));
}

const QHash<QString, int> &FMResultSet::columnNameToIndexMap() const
{
    if (mColumnNameToIndexMap.isEmpty()) {
        const int count = columnCount();
        for (int index = 0; index < count; ++index)
            mColumnNameToIndexMap.insert(columnNameForIndex(index).toLower(), index);
    }
    return mColumnNameToIndexMap;
}

int FMResultSet::columnIndexForName(const QString &columnName) const
{
    return columnNameToIndexMap().value(columnName.toLower(), -1);
}

int FMResultSet::intForColumnIndex(int columnIndex) const
{
    return hasColumn(columnIndex) ? sqlite3_column_int(mStatement->statement(), columnIndex) : 0;
}

long FMResultSet::longForColumnIndex(int columnIndex) const { return long(longLongIntForColumnIndex(columnIndex)); }

qint64 FMResultSet::longLongIntForColumnIndex(int columnIndex) const
{
    return hasColumn(columnIndex) ? sqlite3_column_int64(mStatement->statement(), columnIndex) : 0;
}

quint64 FMResultSet::unsignedLongLongIntForColumnIndex(int columnIndex) const
{
    return quint64(longLongIntForColumnIndex(columnIndex));
}

bool FMResultSet::boolForColumnIndex(int columnIndex) const { return intForColumnIndex(columnIndex) != 0; }

double FMResultSet::doubleForColumnIndex(int columnIndex) const
{
    return hasColumn(columnIndex) ? sqlite3_column_double(mStatement->statement(), columnIndex) : 0.0;
}

bool FMResultSet::columnIndexIsNull(int columnIndex) const
{
    return !hasColumn(columnIndex) || sqlite3_column_type(mStatement->statement(), columnIndex) == SQLITE_NULL;
}

QByteArrayView FMResultSet::utf8ForColumnIndex(int columnIndex) const
{
    if (columnIndexIsNull(columnIndex))
        return {};
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(mStatement->statement(), columnIndex));
    if (!text)
        return {};
    return QByteArrayView(text, sqlite3_column_bytes(mStatement->statement(), columnIndex));
}

QString FMResultSet::stringForColumnIndex(int columnIndex) const
{
    const QByteArrayView text = utf8ForColumnIndex(columnIndex);
    // An empty text stays empty, not null: only NULL reads as null.
    return text.isNull() ? QString() : QString::fromUtf8(text.data(), text.size());
}

QDateTime FMResultSet::dateForColumnIndex(int columnIndex) const
{
    if (columnIndexIsNull(columnIndex))
        return QDateTime();
    const double seconds = doubleForColumnIndex(columnIndex);
    return QDateTime::fromMSecsSinceEpoch(qRound64(seconds * 1000.0), Qt::UTC);
}

QByteArray FMResultSet::dataForColumnIndex(int columnIndex) const
{
    if (columnIndexIsNull(columnIndex))
        return QByteArray();
    const void *bytes = sqlite3_column_blob(mStatement->statement(), columnIndex);
    if (!bytes)
        return QByteArray();
    return QByteArray(static_cast<const char *>(bytes), sqlite3_column_bytes(mStatement->statement(), columnIndex));
}

QVariant FMResultSet::objectForColumnIndex(int columnIndex) const
{
    if (columnIndexIsNull(columnIndex))
        return QVariant();
    switch (sqlite3_column_type(mStatement->statement(), columnIndex)) {
    case SQLITE_INTEGER:
        return QVariant(longLongIntForColumnIndex(columnIndex));
    case SQLITE_FLOAT:
        return QVariant(doubleForColumnIndex(columnIndex));
    case SQLITE_BLOB: {
        const QByteArray bytes = dataForColumnIndex(columnIndex);
        return bytes.isNull() ? QVariant() : QVariant(bytes);
    }
    default:
        return QVariant(stringForColumnIndex(columnIndex));
    }
}
