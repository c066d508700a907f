#include "index/sqlite/FMDatabaseWork.h"

#include "index/sqlite/FMDatabase.h"

void FMTransactions::runTransaction(FMDatabase *db, bool deferred, const FMTransactionWork &work)
{
    if (db) {
        if (deferred)
            db->beginDeferredTransaction();
        else
            db->beginTransaction();
    }
    bool rollback = false;
    work(db, rollback);
    if (!db)
        return;
    if (rollback)
        db->rollback();
    else
        db->commit();
}
