#pragma once

#include "txruvo/DurableBatch.h"
#include "txruvo/Posix.h"
#include "txruvo/ProgressBatch.h"
#include "txruvo/SessionRun.h"

#include <sys/stat.h>

#include <memory>

class BackupOperation;

// One thread's share of a backup run. It gets the lines of whole folders,
// so it keeps the folder it is in open, on the source and on the drive,
// and looks items up relative to those (no path walk per file); an
// unchanged file costs a status of each side (the stored copy's access time
// vouches for its marker).
// Copies wait in a DurableBatch until their data is on the drive.
class BackupWorker : public SessionRun::Worker
{
public:
    explicit BackupWorker(BackupOperation &operation);
    ~BackupWorker() override;

    std::optional<SessionRun::Stop> handle(const ListEntry &entry) override;
    std::optional<SessionRun::Stop> finish() override;

private:
    using Stop = SessionRun::Stop;

    // A folder open on the drive; the copies waiting to be named in it keep it open.
    struct OpenFolder
    {
        explicit OpenFolder(int openFd)
            : fd(openFd)
        {}
        ~OpenFolder();
        OpenFolder(const OpenFolder &) = delete;
        OpenFolder &operator=(const OpenFolder &) = delete;
        const int fd;
    };
    // The folder of the lines being handled.
    struct Folder
    {
        QString userPath;  // its path as the list names it ("" for the top)
        int sourceFd = -1;
        int sourceError = 0;
        bool storedOpened = false;
        int storedFd = -1;  // stored's, while it is open
        std::shared_ptr<const OpenFolder> stored;
        int storedError = 0;
        QString storedRelativePath;
        QString id;
        QHash<QString, int> versionSlots;  // of its items with versions, by stored name
    };
    // What one list line names.
    struct Item
    {
        QString line;
        QString userPath;
        QString name;           // the user's name
        QByteArray nativeName;  // the name's UTF-8
        struct stat source;
    };
    // What the item's marker holds, as far as this line is concerned.
    struct MarkerState
    {
        QString encName;       // the name the item is known by
        QByteArray content;    // what its marker must hold
        bool current = false;  // it holds that already
        bool stamped = false;  // the stored copy's access time vouches for it
        bool ownName = true;   // encName is its own name's, not one the client renamed it from
    };

    void enterFolder(const QString &userPath);
    void leaveFolder();
    // The drive side of the folder, made on first use; a Stop when the drive is full.
    std::optional<Stop> openStoredFolder();
    std::optional<Stop> storeFolder(const QString &userPath);
    std::optional<Stop> store(const Item &item);
    // storedStatus: the stored copy's, null when there is none.
    MarkerState markerStateOf(const Item &item, const Posix::FolderEntry &stored,
                              const struct stat *storedStatus) const;
    static Posix::FolderEntry markerOf(const Posix::FolderEntry &stored);
    std::optional<Stop> copy(const Item &item, const QString &storedName, bool exists, const MarkerState &marker);
    std::optional<Stop> flushBatch();
    ProgressLine completion(const Item &item, const QString &encName, const QString &transferType,
                            const QString &storedName) const;

    BackupOperation &mOperation;
    SessionRun &mRun;
    Folder mFolder;
    DurableBatch mBatch;
    ProgressBatch mLines;
    std::optional<Stop> mCommitStop;
    QString mMpc;
};
