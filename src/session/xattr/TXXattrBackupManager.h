#pragma once

#include "session/upload/Backup.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <list>
#include <mutex>
#include <set>
#include <thread>

class RetriedUpload;

// Keeps the extended attributes of a Time Machine database ("Backups.backupdb")
// that the engine does not copy: the attributes of each top-level entry and of
// its direct children are saved into a hidden list file per entry, uploaded
// beside the database on the drive, and put back after a restore.
//
// List file "<folder>/.__<entry>.txxlist": an XML property list readable by
// this user alone. Its root dictionary maps the entry's own row to the key
// kEntryRowKey and each direct child's row to the child's name; a row maps
// attribute names to their bytes. An older list without that key holds the
// entry's row under the entry's own name.
//
// One manager is shared by the whole program; each upload runs on a thread of
// its own with the account it was started with.
class TXXattrBackupManager
{
public:
    // The key of the entry's own row: no file name can be "/", so no child's row meets it.
    static constexpr const char *kEntryRowKey = "/";
    static constexpr int kUploadAttempts = 5;

    TXXattrBackupManager() = default;
    ~TXXattrBackupManager();
    TXXattrBackupManager(const TXXattrBackupManager &) = delete;
    TXXattrBackupManager &operator=(const TXXattrBackupManager &) = delete;

    static TXXattrBackupManager &SharedTXXattrBackupManager();

    // The account and engine of the next uploads.
    void setAccount(const Backup::Account &account);

    // The list file of an entry in a folder: "<folder>/.__<entry>.txxlist".
    static QString listFilePath(const QString &folder, const QString &entry);

    // Writes one list file per top-level entry of the database (".DS_Store"
    // left out) into the output folder.
    void storeXattributesForTimeMachine(const QString &database, const QString &outputFolder);

    // Writes "source.txt" (the database path followed by each list file's
    // name) into the output folder and uploads the list files on a thread of
    // their own to the destination, under the database's own path.
    void backupFile(const QString &outputFolder, const QString &destinationPath, const QString &databasePath);

    // An upload: up to five back-to-back runs of the uploader until one
    // leaves no error text; whether one did.
    struct UploadJob
    {
        QString sourceFile;       // "source.txt"
        QString destinationPath;  // the uploader's server path
        QString relativePath;     // the local source root: the output folder less the database path
    };
    bool backupXattributeList(const UploadJob &job, const Backup::Account &account);

    // Puts the saved attributes back onto the entries of a restored database
    // and their children, then deletes the restored list files. An entry's
    // list is taken from the restored folder (a missing or unreadable one
    // counts as none), else from storedDatabase, the
    // database's folder on the drive, where the uploads put the lists beside
    // it (read there, never deleted).
    void resetXattributesForTimeMachine(const QString &restoredDatabase, const QString &storedDatabase = {});

    // Waits for the uploads started so far.
    void waitForUploads();
    bool hasUploadsInProgress() const { return mUploadsInProgress > 0; }

private:
    // Records a running upload, so that the end of the program can stop it;
    // false when the program is ending and it must not start.
    bool track(RetriedUpload *upload, bool running);

    std::mutex mLock;
    Backup::Account mAccount;
    std::list<std::thread> mUploads;
    std::set<RetriedUpload *> mRunning;
    bool mStopping = false;
    std::atomic<int> mUploadsInProgress{0};
};
