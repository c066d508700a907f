#include "index/IndexSchema.h"

#include "index/IndexRows.h"
#include "index/sqlite/FMDatabase.h"
#include "platform/ErrorSlot.h"

#include <QStringList>

namespace {

const QStringList kMainIndexStatements = {
    QStringLiteral(
        "CREATE table if not exists qlfolder (DIRID integer primary key autoincrement, NAME char(1024) "
        "not null collate nocase,FILE_LMD char(256),FILE_SIZE __int64,LEVEL_NO integer DEFAULT 0,UNIQUE(NAME))"),
    QStringLiteral("CREATE index qlfolder_indx ON qlfolder (NAME)"),
    QStringLiteral(
        "CREATE table if not exists qlfile (FILEID integer primary key autoincrement, DIRID integer not "
        "null, NAME char(1024) not null collate nocase,FILE_LMD char(256),FILE_SIZE __int64,FILE_OR_FOLDER "
        "integer DEFAULT 0,BKSET_LMD char(50), SYNC_DATE char(50),BACKUP_STATUS integer DEFAULT 0,BKSET_NAME "
        "char(50),HASH_VALUE __int64,THUMB integer DEFAULT 0, FOLDER_ID char(1024),MPC char(50),ENC_NAME "
        "char(1024),foreign key (DIRID) references qlfolder (DIRID),UNIQUE(dirid, name))"),
    QStringLiteral("CREATE index qlfile_indx ON qlfile (NAME)"),
};

const QString kJournalStatement = QStringLiteral(
    "CREATE TABLE FILE_TABLE_TEMP(FILEPATH char(1024) primary key collate nocase,FILE_LMD char(256),FILE_SIZE "
    "__int64, ENC_METHOD char(3), ENC_PSWD char(300), FILE_OR_FOLDER bool, OPERATION_TYPE char(32),BKSET_LMD "
    "char(50), SYNC_DATE char(50),VERSION integer(3),FOLDER_ID char(1024),MPC char(50),ENC_NAME char(1024))");

}  // namespace

bool IndexSchema::createMainIndexIfMissing(FMDatabase &db, bool *created)
{
    *created = false;
    if (db.tableExists(QStringLiteral("qlfolder")))
        return true;
    for (const QString &statement : kMainIndexStatements) {
        if (!db.executeUpdate(statement))
            return false;
    }
    if (!IndexRows::insertFolder(db, QStringLiteral("/"), kMadeFolderDate, kMadeFolderSize, 0))
        return false;
    *created = true;
    return true;
}

bool IndexSchema::ensureMainIndex(FMDatabase &db, QString *error)
{
    // Readers check without a write lock, so that they never wait for a merge.
    if (db.tableExists(QStringLiteral("qlfolder")))
        return true;
    bool created = false;
    if (!db.beginTransaction() || !createMainIndexIfMissing(db, &created)) {
        ErrorSlot::fill(error, db.lastErrorMessage());
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        ErrorSlot::fill(error, db.lastErrorMessage());
        db.rollback();
        return false;
    }
    if (created)
        db.setWal();
    return true;
}

bool IndexSchema::createJournalTable(FMDatabase &db) { return db.executeUpdate(kJournalStatement); }
