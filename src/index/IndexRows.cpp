#include "index/IndexRows.h"

#include "index/IndexNames.h"
#include "index/IndexSchema.h"
#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMResultSet.h"

namespace IndexRows {

const QString kNotApplicable = QStringLiteral("NA");
const QString kBackupStatusDone = QStringLiteral("1");
const QString kBackupSetName = QStringLiteral("Default Backupset");
const QString kHashValue = QStringLiteral("1234566");

const QString kInsertFolder =
    QStringLiteral("INSERT INTO %1 (NAME, FILE_LMD, FILE_SIZE,LEVEL_NO) VALUES(?,?,?,?)").arg(kMainFolderTable);
const QString kFolderKey = QStringLiteral("SELECT dirid FROM %1 WHERE NAME = ?").arg(kMainFolderTable);
const QString kInsertFile =
    QStringLiteral(
        "INSERT INTO %1 (DIRID, NAME, FILE_LMD, FILE_SIZE, FILE_OR_FOLDER, BKSET_LMD, SYNC_DATE, BACKUP_STATUS, "
        "BKSET_NAME, HASH_VALUE,THUMB,FOLDER_ID,MPC,ENC_NAME) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
        .arg(kMainTable);
const QString kUpdateFileKeepingVersion = QStringLiteral(
    "UPDATE qlfile SET FILE_LMD=?,FILE_SIZE=?,BKSET_LMD=?,SYNC_DATE=?,BACKUP_STATUS=?,BKSET_NAME=?,THUMB=?,"
    "FOLDER_ID=?,MPC=?,ENC_NAME=? WHERE NAME = ? AND DIRID=?");
const QString kUpdateFile = QStringLiteral(
    "UPDATE qlfile SET FILE_LMD=?,FILE_SIZE=?,FILE_OR_FOLDER=?,BKSET_LMD=?,SYNC_DATE=?,BACKUP_STATUS=?,BKSET_NAME=?,"
    "THUMB=?,FOLDER_ID=?,MPC=?,ENC_NAME=? WHERE NAME = ? AND DIRID=?");

}  // namespace IndexRows

bool IndexRows::insertFolder(FMDatabase &db, const QString &folderPath, const QVariant &modificationDate,
                             const QVariant &size, int level)
{
    return db.executeUpdate(kInsertFolder, {IndexNames::folderName(folderPath), modificationDate, size, level});
}

bool IndexRows::climbMissingFolders(const QString &folderPath,
                                    const std::function<FolderInsert(const QString &)> &insertOne)
{
    for (QString folder = folderPath; !IndexNames::isRoot(folder); folder = IndexNames::parentPath(folder)) {
        const FolderInsert result = insertOne(folder);
        if (result != FolderInsert::Added)
            return result == FolderInsert::Present;
    }
    return true;
}

bool IndexRows::insertMissingFolders(FMDatabase &db, const QString &folderPath, bool levelByDepth,
                                     const std::function<void()> &onAttempt)
{
    return climbMissingFolders(folderPath, [&](const QString &folder) {
        const int level = levelByDepth ? IndexNames::depth(folder) : 0;
        const bool inserted = insertFolder(db, folder, kMadeFolderDate, kMadeFolderSize, level);
        onAttempt();
        if (inserted)
            return FolderInsert::Added;
        return failedOnConstraint(db) ? FolderInsert::Present : FolderInsert::Failed;
    });
}

std::optional<qint64> IndexRows::folderKey(FMDatabase &db, const QString &folderPath)
{
    auto rows = db.executeQuery(kFolderKey, {IndexNames::folderName(folderPath)});
    if (!rows || !rows->next())
        return std::nullopt;
    return rows->longLongIntForColumnIndex(0);
}

bool IndexRows::insertFile(FMDatabase &db, qint64 folderKey, const FileValues &file)
{
    return db.executeUpdate(kInsertFile,
                            {folderKey, IndexNames::quoted(file.name), file.modificationDate, file.size, file.version,
                             kNotApplicable, kNotApplicable, kBackupStatusDone, kBackupSetName, kHashValue,
                             IndexNames::thumbFlag(file.name), file.folderID, file.mpcName, file.encFilename});
}

bool IndexRows::updateFile(FMDatabase &db, qint64 folderKey, const FileValues &file)
{
    QVariantList values = {file.modificationDate, file.size};
    const bool keepVersion = file.version.toLongLong() == 1;
    if (!keepVersion)
        values.append(file.version);
    values << kNotApplicable << kNotApplicable << kBackupStatusDone << kBackupSetName
           << IndexNames::thumbFlag(file.name) << file.folderID << file.mpcName << file.encFilename
           << IndexNames::quoted(file.name) << folderKey;
    return db.executeUpdate(keepVersion ? kUpdateFileKeepingVersion : kUpdateFile, values);
}

bool IndexRows::failedOnConstraint(const FMDatabase &db) { return db.lastErrorWasConstraint(); }
