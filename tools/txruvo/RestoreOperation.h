#pragma once

#include "txruvo/DriveLayout.h"
#include "txruvo/DurableBatch.h"
#include "txruvo/SessionRun.h"
#include "txruvo/StoredItemFinder.h"
#include "txruvo/VersionShelf.h"

#include <QHash>

#include <memory>

// A restore run (a session restore, or the restore of one version): every
// list line names a stored item as "[<mpc>]/<folder id>/<encoded name>",
// the encoded name optionally followed by "_QLVER" and a version number.
// Lines are read below the remote's path, which lies inside
// "--portable-dest="; each item is copied to the local target folder (the
// last argument), under its full original path with "--relative" or under
// its name alone with "--no-relative".
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

    std::optional<Stop> checkTarget();
    std::optional<Stop> restore(const ListEntry &entry);
    // Makes the waiting copies durable, gives them their names and reports them.
    std::optional<Stop> flushBatch();
    ComputerFolder &computerFolder(const QString &path);

    SessionRun &mRun;
    QString mRoot;    // drive folder the list lines are read below
    QString mTarget;  // local folder restored into
    bool mRelative;
    QHash<QString, std::shared_ptr<ComputerFolder>> mComputerFolders;
    DurableBatch mBatch;
    int mTargetFd = -1;  // the target folder, for syncing its file system
};
