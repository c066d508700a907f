#pragma once

#include "index/IndexEntry.h"
#include "index/IndexRows.h"
#include "index/IndexTimings.h"
#include "index/journals/MergeableJournal.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

class FMDatabase;
class FMResultSet;
class FMStatement;
class TXDatabaseWrapperDelegate;

// All SQL of the index: the per-user main index "<user>.qlenc", the journals
// that gather changes during a backup and the re-index database. A wrapper
// works on one database at a time and is used by one thread at a time.
//
// Paths are index paths (/Office/Users/ann/a.txt). Every value reaches SQL as a
// bound parameter; names are compared exactly or by whole-folder prefix, with
// the letter case of ASCII ignored, so "_", "%" and quotes in names are plain
// characters.
class TXDatabaseWrapper : public MergeableJournal
{
public:
    explicit TXDatabaseWrapper(IndexTimings timings = {});
    ~TXDatabaseWrapper() override;
    TXDatabaseWrapper(const TXDatabaseWrapper &) = delete;
    TXDatabaseWrapper &operator=(const TXDatabaseWrapper &) = delete;

    // Not owned: the delegate must outlive the queries it is set for.
    void setDelegate(TXDatabaseWrapperDelegate *delegate) { mDelegateObj = delegate; }
    // How the merge pauses between statements; by default it sleeps.
    void setSleeper(IndexSleeper sleeper) { mSleeper = std::move(sleeper); }

    // The listing flag of initialisation and of the row writers: a journal that
    // gathers changes, or the main index (or re-index database) itself.
    static constexpr int kJournalMode = 0;
    static constexpr int kListingMode = 1;

    // Every UTF-16 unit but "'", "/" and "\" raised by 63, modulo 65536.
    static QString encryptPath(const QString &path);

    // --- Opening and journals ---

    // Creates the folder (mode 0777). A non-zero listing flag makes sure the
    // main index "<folder>/<mainDBName>.qlenc" exists with its schema and keeps
    // its connection in the wrapper for the queries, which close it. A zero
    // flag opens a new journal in the folder inside a transaction; a journal
    // that cannot be made leaves no file behind. False with the reason in *error.
    bool initializeDatabaseAtPath(const QString &folder, const QString &mainDBName, int listingCGI,
                                  QString *error = nullptr);
    // Journal rows: the twelve values of a backed-up file (all but the operation)
    // or the index path of a removed item (a folder's ends in "/"). The path is
    // scrambled with encryptPath when shouldEncrypt is set. Rows go to the
    // journal table when listingCGI is zero; no other table is written here.
    bool insertRecord(const QVariantList &values, bool shouldEncrypt, int listingCGI, QString *error = nullptr);
    bool deleteRecord(const QString &path, bool shouldEncrypt, int listingCGI, QString *error = nullptr);
    // Exactly thirteen values into the journal table, else false with nothing written.
    bool insertValues(const QVariantList &values, const QString &tableName, QString *error = nullptr);
    bool beginTransaction();
    bool commitTransaction();
    // Closes the journal and gives it its finished name.
    void unInitializeDatabase();

    // --- The journal-folder merge's side (MergeableJournal) ---

    // Opens an existing file `name` in `folder` (the journal of this wrapper
    // when no name is given). A missing file is not created.
    bool openDatabaseAtPath(const QString &folder, const QString &name, QString *error) override;
    // Folds the open journal into "<folder>/<user>.qlenc", creating its schema
    // when it has none, in one transaction. Committed only when it was
    // committed; on any failure the main index is left as it was.
    Outcome updateMasterDatabase(const QString &folder, const QString &user, QString *error) override;
    void closeDatabase() override;
    void removeDataBaseAtPath(const QString &path) override;

    // --- Reporting queries: the result goes to the delegate ---
    // The listing, the searches and the lookups end with their entries, the
    // properties and the renames with one record (IndexQueryKeys names its keys).
    // "unable to open database" when the main index cannot be opened or read;
    // the library's reason when a statement fails midway (a damaged page), never
    // the rows read before it.

    // Root-relative folder ("" for the root): its folders, then its files.
    void fetchChildrenForPath(const QString &path);
    // "SearchKey" anywhere in a file name, or in a folder path below
    // "PathRootForSearch" (absolute; "" for everything). A "%" in the key
    // matches any run of characters; "_" is a plain character. A delegate
    // that takes rows as they come hears them in batches. A large index is
    // read in parts at once, on connections of their own (ranges of file
    // names, then the files of matching folders); the rows come part by part.
    void searchForKeyInsidePath(const QVariantMap &search);
    // Root-relative file path.
    void searchEncryptedNameForPath(const QString &path);
    // One entry: root-relative folder to the file names in it.
    void searchEncryptedNameForPaths(const QVariantMap &namesByFolder);
    // Root-relative folders: the files directly inside them.
    void searchEncryptedNameInsidePaths(const QStringList &folders);
    // Absolute folder: every file in it and below it.
    void searchEncryptedNameInsidePath(const QString &folder);
    // Absolute folder: "fileSize", "FileCount" and "Status" of its whole subtree.
    void getProperties(const QString &folder);
    // "OriginalPath" and "RenamedPath", absolute; the answer adds "Status".
    // The root folder and a move of a folder into itself are refused.
    void renameFile(const QVariantMap &paths);
    void renameFolder(const QVariantMap &paths);

    // --- Returning queries, on the caller's thread ---

    // Every file below the folder p (absolute), then every folder from p down
    // with its trailing "/". None when the index cannot be opened or read.
    std::optional<QStringList> getAllFilesInside(const QString &folder);
    // None, not false, when the index cannot be opened or read.
    std::optional<bool> doesFileExistOnPortable(const QString &path);

    // --- Re-index: one transaction over the whole rebuild ---

    // After initializeDatabaseAtPath with a listing flag: opens the database and
    // begins the transaction. False when it cannot.
    bool initializeReIndex();
    // "FilePath" (absolute, no trailing "/"), "FileModificationTime", "FileSize".
    void addFolderToDatabase(const QVariantMap &folder);
    // File records of one folder: "FilePath" (the name), "FileModificationTime",
    // "FileSize", "VersionNumber", "folderID", "mpcName", "encFilename"; a record
    // missing any is skipped.
    void addFilesToDatabase(const QVariantList &files, const QString &parent);
    // The same for records already checked and typed.
    void addFilesToDatabase(const QList<IndexRows::FileValues> &files, const QString &parent);
    // Commits and closes; true when the rebuild reached the file.
    bool concludeReIndex();

private:
    void replaceConnection(const QString &path);
    // Opens the main index and checks that it can be read (a wrong key or a
    // damaged file shows here, not as an empty answer).
    bool openMainIndexForQuery();
    // The records that makeRecord makes of the rows of one statement on the open
    // main index; none when the statement fails, at its start or midway.
    template <typename MakeRecord>
    auto collectRecords(const QString &sql, const QVariantList &arguments, MakeRecord makeRecord)
        -> std::optional<QList<std::invoke_result_t<MakeRecord, const FMResultSet &>>>;
    // Closes the main index, then reports the entries, or the connection's
    // last error when there are none.
    void reportEntries(const std::optional<IndexEntries> &entries);
    // Closes the main index, then reports its last error as the failure.
    void reportQueryError();
    // Closes the main index, then reports.
    void reportFinished(const QVariantMap &output);
    void reportFailed(const QString &error);
    // The file records of the server-identity lookups: one statement per
    // condition with its bound values, the records of all of them reported together.
    using Condition = std::pair<QString, QVariantList>;
    void reportEncryptedNames(const QList<Condition> &conditions);
    // Runs the rename and reports its status; an empty statement is a refused rename.
    void reportRename(const QVariantMap &paths, const QString &sql, const QVariantList &arguments);

    std::unique_ptr<FMDatabase> mDatabase;
    // The journal's insert, prepared on its first row.
    std::shared_ptr<FMStatement> mJournalInsert;
    TXDatabaseWrapperDelegate *mDelegateObj = nullptr;
    QString mTempFilePath;
    IndexTimings mTimings;
    IndexSleeper mSleeper = IndexSleep::sleepFor;
};
