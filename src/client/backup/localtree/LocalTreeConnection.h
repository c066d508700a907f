#pragma once

#include "client/backup/localtree/FileSystemController.h"
#include "client/backup/now/BackupTreeActions.h"
#include "client/backup/setlist/SetListTreeActions.h"

class BackupViewController;
class TXMainController;

// The local tree of the signed-in user, joined to the main controller (login,
// mode, destination drive) and to Backup Now (set saves, chosen drive, default
// set, the set lists' removals).
class LocalTreeConnection : public BackupTreeActions, public SetListTreeActions
{
public:
    LocalTreeConnection(TXMainController &mainController, BackupViewController &backup,
                        const LocalVolumeLayout &layout = LocalVolumeLayout::current(),
                        const LocalTreeTimings &timings = {});

    FileSystemController &fileSystem() { return mFileSystem; }

    // BackupTreeActions
    QString selectedVolumeTitle() const override;
    void addDefaultBackupset() override { mFileSystem.addDefaultBackupset(); }
    void finishSaving() override { mFileSystem.finishSaving(); }

    // SetListTreeActions
    void removeNodesWithPathArray(const QStringList &paths) override;
    void removeAllNode() override;
    void handleTimeMachine() override { mFileSystem.handleTimeMachine(); }
    void handleTimeMachinePath(const QString &path) override { mFileSystem.handleTimeMachinePath(path); }

private:
    void takeAccount();
    void driveSelected(const QVariantMap &userInfo);

    TXMainController &mMain;
    FileSystemController mFileSystem;
};
