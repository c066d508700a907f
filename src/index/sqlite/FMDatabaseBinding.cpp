#include "index/sqlite/FMDatabase.h"

#include "index/sqlite/FMStatement.h"

#include <QDateTime>
#include <QVariant>

#include <sqlite3.h>

int FMDatabase::bindObject(const QVariant &value, int column, FMStatement &boundStatement)
{
    sqlite3_stmt *statement = boundStatement.statement();
    if (!value.isValid() || value.isNull())
        return sqlite3_bind_null(statement, column);
    switch (value.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        // A zero-length blob, not NULL: the library reads a null pointer as NULL.
        if (bytes.isEmpty())
            return sqlite3_bind_zeroblob(statement, column, 0);
        return boundStatement.bindBlob(column, bytes);
    }
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        if (!date.isValid())  // no date at all, not 1970
            return sqlite3_bind_null(statement, column);
        return sqlite3_bind_double(statement, column, double(date.toMSecsSinceEpoch()) / 1000.0);
    }
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, column, value.toBool() ? 1 : 0);
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
        return sqlite3_bind_int(statement, column, value.toInt());
    case QMetaType::Long:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, column, value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        // Zero-extended; a value above the signed range keeps its bit pattern
        // and reads back through unsignedLongLongIntForColumn.
        return sqlite3_bind_int64(statement, column, sqlite3_int64(value.toULongLong()));
    case QMetaType::Float:
    case QMetaType::Double:
        return sqlite3_bind_double(statement, column, value.toDouble());
    default:
        return boundStatement.bindText(column, value.toString().toUtf8());
    }
}
