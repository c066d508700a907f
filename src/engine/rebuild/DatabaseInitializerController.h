#pragma once

#include "common/account/User.h"
#include "engine/command/TarnixProcessLib.h"
#include "engine/command/TarnixProcessLibController.h"
#include "index/IndexTimings.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class DatabaseInitializerControllerDelegateProtocol;

// The waits of a rebuild: the engine run's and the index's.
struct DatabaseInitializerTimings
{
    TarnixProcessLibTimings engine;
    IndexTimings index;
};
class ReindexBuilder;
class ReindexListingReader;

// Rebuilds the index of one user from what is really stored on the drive:
// the engine lists every stored item ("--expressdb-recreate"), the listed
// files go into a fresh re-index database folder by folder, and when the
// engine has ended with a complete listing the rebuilt index replaces the
// main one. A rebuild whose engine reported errors or died, whose listing
// held lines that could not be read, or that could not be written, leaves
// the main index as it was. Runs on the main thread; started once.
class DatabaseInitializerController : public TarnixProcessLibController
{
public:
    explicit DatabaseInitializerController(DatabaseInitializerTimings timings = {});
    ~DatabaseInitializerController() override;

    void setUser(const User &user) { mUserObject = user; }
    User &userInfo() { return mUserObject; }
    // The user's data root on the drive: "<volume>/TarnixVidezud/<user>".
    void setDestinationDrive(const QString &dataRoot) { mDestinationDrive = dataRoot; }
    const QString &rootPath() const { return mDestinationDrive; }
    // The computer folder; the listing names each item's own, so the rebuild does not read it.
    void setMpcName(const QString &computerFolder) { mMpcName = computerFolder; }
    void setMExecutorPath(const QString &path) { mExecutorPath = path; }
    void setMBackupMode(bool backupMode) { mBackupMode = backupMode; }
    // Not owned.
    void setDelegate(DatabaseInitializerControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }

    void startIndexing();
    // After the finish: whether the rebuilt index is now the main index.
    bool indexWasReplaced() const { return mIndexReplaced; }

    // The engine wrapper's callbacks.
    void updateProgress(const QString &lines, TarnixProcessLib *engine) override;
    void getError(const QString &text, TarnixProcessLib *engine) override;
    void processFinishedOfEngine(TarnixProcessLib *engine) override;

private:
    // The account's name in backup mode, the sync user's in sync mode; empty when unknown.
    QString userNameForDB() const;
    // Why the rebuilt index may not replace the main one; empty when it may.
    QString reasonToKeepTheIndex(const TarnixProcessLib &engine) const;
    void fail(const QString &reason);

    User mUserObject;
    DatabaseInitializerControllerDelegateProtocol *mDelegateObj = nullptr;
    QString mDestinationDrive;
    QString mMpcName;
    QString mExecutorPath;
    bool mBackupMode = true;

    const IndexTimings mIndexTimings;
    TarnixProcessLib mEngine;
    std::unique_ptr<QTemporaryDir> mEngineFiles;
    std::unique_ptr<ReindexBuilder> mBuilder;
    std::unique_ptr<ReindexListingReader> mReader;  // reads into mBuilder
    QString mNotStartedReason;                      // why no re-index database was opened
    int mEngineErrors = 0;
    bool mIndexReplaced = false;
};
