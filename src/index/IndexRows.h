#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class FMDatabase;

// The row writes that the merge and the re-index share. Values are always bound.
namespace IndexRows {

// The statements of those writes, for a caller that prepares them once.
extern const QString kInsertFolder;
extern const QString kFolderKey;
extern const QString kInsertFile;
// Update the row of a name in a folder; version 1 keeps FILE_OR_FOLDER as it is.
extern const QString kUpdateFileKeepingVersion;
extern const QString kUpdateFile;
// The values every file row gets: BKSET_LMD, SYNC_DATE, BACKUP_STATUS, BKSET_NAME, HASH_VALUE.
extern const QString kNotApplicable;
extern const QString kBackupStatusDone;
extern const QString kBackupSetName;
extern const QString kHashValue;

// One file as the index keeps it; the fixed columns are filled in here.
struct FileValues
{
    QString name;  // last path component, unquoted
    QVariant modificationDate;
    QVariant size;
    QVariant version;
    QVariant folderID;
    QVariant mpcName;
    QVariant encFilename;
};

// Adds the folder's row; false when it is present already or the insert failed.
bool insertFolder(FMDatabase &db, const QString &folderPath, const QVariant &modificationDate, const QVariant &size,
                  int level);

// How one folder insert went: its row was added, was present already, or the insert failed.
enum class FolderInsert
{
    Added,
    Present,
    Failed
};
// Tries insertOne for folderPath and then each of its ancestors below the
// root, and stops at the first that is present (its ancestors are too).
// False when an insert failed.
bool climbMissingFolders(const QString &folderPath, const std::function<FolderInsert(const QString &)> &insertOne);

// Adds the folders from folderPath up to the root, each as made by the index,
// and stops at the first that is present. Calls onAttempt after every insert
// tried. False only when an insert failed for another reason than a present row.
bool insertMissingFolders(FMDatabase &db, const QString &folderPath, bool levelByDepth,
                          const std::function<void()> &onAttempt);

// The key of the folder's row, by exact name (letter case of ASCII ignored).
std::optional<qint64> folderKey(FMDatabase &db, const QString &folderPath);

bool insertFile(FMDatabase &db, qint64 folderKey, const FileValues &file);
// Updates the present row of that name in the folder. Version 1 keeps the
// row's version number; any other sets it.
bool updateFile(FMDatabase &db, qint64 folderKey, const FileValues &file);

// Whether the connection's last failure was a broken constraint (a row present already).
bool failedOnConstraint(const FMDatabase &db);

}  // namespace IndexRows
