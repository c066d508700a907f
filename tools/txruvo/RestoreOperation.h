#pragma once

#include "txruvo/DriveLayout.h"
#include "txruvo/DurableBatch.h"
#include "txruvo/SessionRun.h"
#include "txruvo/StoredItemFinder.h"
#include "txruvo/VersionShelf.h"

#include <QHash>
#include <QMutex>

#include <memory>

// A restore run (a session restore, or the restore of one version): every
// list line names a stored item as "[<mpc>]/<folder id>/<encoded name>",
// the encoded name optionally followed by "_QLVER" and a version number.
// Lines are read below the remote's path, which lies inside
// "--portable-dest="; each item is copied to the local target folder (the
// last argument), under its full original path with "--relative" or under
// its name alone with "--no-relative". The items of one folder of the drive
// are restored by one thread, as a backup's; the threads share the finders
// and version shelves.
// Folders the run makes in the target are private (0700) while it fills
// them; once every thread is done, each takes the mode recorded for its
// stored folder, and every folder the run changed (made, put a copy in, or
// made a folder in) its recorded modification time, deepest first.
class RestoreOperation
{
public:
    explicit RestoreOperation(SessionRun &run);
    ~RestoreOperation();
    int run();

private:
    using Stop = SessionRun::Stop;

    // The drive-side parts of one computer folder, made on first use.
    struct ComputerFolder
    {
        DriveLayout layout;
        VersionShelf shelf;
        StoredItemFinder finder;
        explicit ComputerFolder(const QString &path);
    };

    class Worker;
    // What one thread keeps: its copies waiting for their sync, and the
    // target folder of its last item, known to exist.
    struct Lane
    {
        DurableBatch batch;
        QString lastMadeFolder;
    };

    std::optional<Stop> checkTarget();
    std::optional<Stop> restore(const ListEntry &entry, Lane &lane);
    // Makes the lane's waiting copies durable, gives them their names and reports them.
    std::optional<Stop> flushBatch(Lane &lane);
    ComputerFolder &computerFolder(const QString &path);
    // Makes the item's target folder; the folders changed are kept for finishFolders.
    bool makeTargetFolder(const QString &targetFolder, const QString &storedFolder);
    // Gives the folders the run changed their stored folders' times, and
    // those it made their modes too.
    void finishFolders();

    // A folder the run changed in the target, by its target path.
    struct ChangedFolder
    {
        QString stored;     // the stored folder it stands for
        bool made = false;  // by this run
    };

    SessionRun &mRun;
    QString mRoot;    // drive folder the list lines are read below
    QString mTarget;  // local folder restored into
    bool mRelative;
    QMutex mComputerFoldersLock;
    QHash<QString, std::shared_ptr<ComputerFolder>> mComputerFolders;
    const int mThreads;
    QMutex mChangedFoldersLock;
    QHash<QString, ChangedFolder> mChangedFolders;
    int mTargetFd = -1;  // the target folder, for syncing its file system
};
