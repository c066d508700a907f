#include "index/sqlite/FMDatabase.h"

#include <sqlite3.h>

bool FMDatabase::replaceContentsWith(FMDatabase &source)
{
    if (!ensureOpenForExecution() || !source.ensureOpenForExecution())
        return false;
    sqlite3_backup *backup = sqlite3_backup_init(mDb, "main", source.mDb, "main");
    if (!backup)
        return false;
    // All pages in one step: one transaction on this connection, its busy
    // handler waiting for a writer elsewhere.
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    const int result = stepped == SQLITE_DONE ? finished : stepped;
    if (result == SQLITE_OK)
        return true;
    failWith(result, QString::fromUtf8(sqlite3_errstr(result)));
    return false;
}
