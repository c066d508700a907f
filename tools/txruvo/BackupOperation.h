#pragma once

#include "txruvo/DriveLayout.h"
#include "txruvo/FileCopier.h"
#include "txruvo/SessionRun.h"
#include "txruvo/VersionShelf.h"

#include <QHash>
#include <QMutex>

// A backup or sync run: every list line is a path below the source root
// (the positional before the remote, "/" in backup mode, the block's base
// folder in sync mode), stored under the same path below the computer
// folder ("--portable-dest="). New files are copied ("FULL"), changed ones
// replace the stored copy ("INCREMENTAL") after it was put among the
// versions (backup mode without "--no-versions"), unchanged ones (same size
// and modification time) are only reported ("FILE IN SYNC").
class BackupOperation
{
public:
    explicit BackupOperation(SessionRun &run);
    int run();

private:
    using Stop = SessionRun::Stop;

    std::optional<Stop> backUp(const ListEntry &entry);
    std::optional<Stop> store(const QString &line, const QString &sourcePath, const QString &relativePath,
                              struct stat source);
    // The folder's identifier, making the folder (and its parents) when missing.
    std::optional<QString> folderId(const QString &folder);
    std::optional<QString> folderIdLocked(const QString &folder);
    // The completion line of a file (per 100); in-progress lines are made from it.
    ProgressLine completion(const QString &line, const QString &folderId, const QString &encName, quint64 size,
                            const QString &transferType, const QString &relativePath) const;

    SessionRun &mRun;
    QString mSourceRoot;
    bool mKeepVersions;
    DriveLayout mLayout;
    VersionShelf mShelf;
    QMutex mFolderIdsLock;
    QHash<QString, QString> mFolderIds;  // folder -> identifier, for the folders met in this run
};
