#pragma once

#include <QString>

class FMDatabase;

// The tables of the index files and the names the SQL of the index uses.
// Table names are matched without regard to case, so "qlFolder" addresses qlfolder.
inline const QString kMainFolderTable = QStringLiteral("qlFolder");
inline const QString kMainTable = QStringLiteral("qlFile");
inline const QString kTempTable = QStringLiteral("FILE_TABLE_TEMP");

// The journal's columns, in their order.
inline const QString kColumnFilePath = QStringLiteral("FILEPATH");
inline const QString kColumnFileLMD = QStringLiteral("FILE_LMD");
inline const QString kColumnFileSize = QStringLiteral("FILE_SIZE");
inline const QString kColumnEncMethod = QStringLiteral("ENC_METHOD");
inline const QString kColumnEncEnabled = QStringLiteral("ENC_PSWD");
inline const QString kColumnFileType = QStringLiteral("FILE_OR_FOLDER");
inline const QString kColumnOperationType = QStringLiteral("OPERATION_TYPE");
inline const QString kColumnBackupsetLMD = QStringLiteral("BKSET_LMD");
inline const QString kColumnSyncDate = QStringLiteral("SYNC_DATE");
inline const QString kColumnVersion = QStringLiteral("VERSION");
inline const QString kColumnFolderID = QStringLiteral("FOLDER_ID");
inline const QString kColumnMPCName = QStringLiteral("MPC");
inline const QString kColumnEncFileName = QStringLiteral("ENC_NAME");
inline constexpr int kJournalColumnCount = 13;
// Positions of the journal's columns that the merge reads.
namespace JournalColumn {
inline constexpr int kPath = 0;
inline constexpr int kDate = 1;
inline constexpr int kSize = 2;
inline constexpr int kVersion = 9;
inline constexpr int kFolderID = 10;
inline constexpr int kMPC = 11;
inline constexpr int kEncName = 12;
}  // namespace JournalColumn

inline const QString kOperationTypeInsert = QStringLiteral("INSERT");
inline const QString kOperationTypeDelete = QStringLiteral("DELETE");
inline const QString kOperationTypeRename = QStringLiteral("RENAME");
inline const QString kOperationTypeUpdate = QStringLiteral("UPDATE");

// A FILE_LMD of this value marks a row as absent for every read. Nothing here writes it.
inline const QString kAbsentRowDate = QStringLiteral("0000/00/00 00:00:00");
// FILE_LMD and FILE_SIZE of the root and of folders made only to hold others.
inline const QString kMadeFolderDate = QStringLiteral("0000 000");
inline const QString kMadeFolderSize = QStringLiteral("1024");

// Page cache of a connection that writes much in one transaction (a merge, a
// rebuild), in KiB: the library's default is 2 MiB; with this the pages it
// touches stay in memory instead of being written out, read back and
// decrypted again within the one transaction.
inline const QString kBulkWriteCacheSize = QStringLiteral("PRAGMA cache_size = -%1").arg(32 * 1024);
// The main index's page cache during a merge: enough for the pages a large
// merge into an index of a million files changes (about all of them), which
// otherwise are written out and read back again within the transaction.
// Taken only as pages are read; given back when the merge closes the index.
inline const QString kMergeCacheSize = QStringLiteral("PRAGMA cache_size = -%1").arg(256 * 1024);

namespace IndexSchema {

// Inside the caller's transaction: when the main tables are missing, creates
// them with their indices and the root row, and sets *created. False, with the
// connection's error, when the schema could not be made; the caller rolls back.
bool createMainIndexIfMissing(FMDatabase &db, bool *created);

// Makes sure an open main index has its schema, in a transaction of its own,
// and switches a new one to write-ahead logging (which cannot change inside a
// transaction). False with the reason in *error.
bool ensureMainIndex(FMDatabase &db, QString *error);

// Creates the journal table.
bool createJournalTable(FMDatabase &db);

}  // namespace IndexSchema
