#pragma once

#include "txruvo/DriveLayout.h"
#include "txruvo/Markers.h"
#include "txruvo/SessionRun.h"
#include "txruvo/StagingArea.h"
#include "txruvo/VersionShelf.h"

#include <QHash>
#include <QMutex>

// A backup or sync run: every list line is a path below the source root
// (the positional before the remote, "/" in backup mode, the block's base
// folder in sync mode), stored under the same path below the computer
// folder ("--portable-dest="). New files are copied ("FULL"), changed ones
// replace the stored copy ("INCREMENTAL") after it was put among the
// versions (backup mode without "--no-versions"), unchanged ones (same size
// and modification time) are only reported ("FILE IN SYNC"). The lines are
// handled by a few BackupWorkers; this holds what they share.
// Two uploads run the same way: thumbnails ("--thumbnail"), whose lines name
// "<image>_THINT" and the like and are stored beside their image, and
// session logs ("--backup-log"), stored in the log folder of the computer
// folder (DriveLayout). Neither keeps versions.
// A session's backup (the runs the client can cancel, "--chk-cancel=")
// records in each stored folder's marker the mode and modification time of
// the source folder it stands for; the uploader's runs copy from a work
// folder of their own, whose folders are not the user's, and record none.
class BackupOperation
{
public:
    enum class Kind
    {
        Items,
        Thumbnails,
        Logs
    };

    BackupOperation(SessionRun &run, Kind kind);
    int run();

    SessionRun &session() { return mRun; }
    const QString &sourceRoot() const { return mSourceRoot; }
    bool keepsVersions() const { return mKeepVersions; }
    // The name a line's file is stored under in its folder; "" when a
    // thumbnail upload's line names no thumbnail.
    QString storedNameOf(const QString &name, bool atTop) const;
    const DriveLayout &layout() const { return mLayout; }
    const VersionShelf &shelf() const { return mShelf; }
    StagingArea &staging() { return mStaging; }
    // How many threads handle the list at most.
    int workers() const { return mWorkers; }

    // The folder's identifier, making the folder (and its parents) when
    // missing; errno is set on failure. Safe from any thread.
    std::optional<QString> folderId(const QString &folder);

private:
    std::optional<QString> folderIdLocked(const QString &folder);
    // The attributes to record for a stored folder below the computer
    // folder: its source folder's; none when that is not a folder.
    std::optional<Markers::FolderAttributes> sourceAttributesOf(const QString &storedFolder) const;

    SessionRun &mRun;
    Kind mKind;
    QString mSourceRoot;
    bool mKeepVersions;
    bool mRecordsFolders;
    DriveLayout mLayout;
    VersionShelf mShelf;
    StagingArea mStaging;
    int mWorkers;
    QMutex mFolderIdsLock;
    QHash<QString, QString> mFolderIds;  // folder -> identifier, for the folders met in this run
};
