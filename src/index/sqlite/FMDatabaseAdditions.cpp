#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"

bool FMDatabase::tableExists(const QString &tableName)
{
    auto resultSet =
        executeQuery(QStringLiteral("select [sql] from sqlite_master where [type] = 'table' and lower(name) = ?"),
                     {tableName.toLower()});
    return resultSet && resultSet->next();
}
