#include "client/backup/localtree/LocalTreeConnection.h"

#include "client/backup/localtree/DestinationVolumes.h"
#include "client/backup/now/BackupViewController.h"
#include "client/shell/main/TXMainController.h"
#include "common/account/User.h"
#include "common/backupset/MonitorExclusionPreferences.h"

LocalTreeConnection::LocalTreeConnection(TXMainController &mainController, BackupViewController &backup,
                                         const LocalVolumeLayout &layout, const LocalTreeTimings &timings)
    : mMain(mainController)
    , mFileSystem(layout, timings)
{
    QObject::connect(&mFileSystem, &FileSystemController::BackupSetSavedAtPath, &backup,
                     &BackupViewController::BackupSetSavedAtPath);
    QObject::connect(&mFileSystem, &FileSystemController::DestinationDriveSelected, &mFileSystem,
                     [this](const QVariantMap &userInfo) { driveSelected(userInfo); });
    QObject::connect(&mainController, &TXMainController::accountDidChange, &mFileSystem, [this] { takeAccount(); });
    QObject::connect(&mainController, &TXMainController::userLoggedInForFirstTime, &mFileSystem,
                     [this] { mFileSystem.setDefaultBackupSetCheckStateToOne(); });
    QObject::connect(&mainController, &TXMainController::modeDidChange, &mFileSystem, [this] { takeAccount(); });
    mFileSystem.addVolumesToPopupButton();
    mFileSystem.monitorVolumes();
}

QString LocalTreeConnection::selectedVolumeTitle() const
{
    return const_cast<FileSystemController &>(mFileSystem).volumesPopUpButton().selectedTitle();
}

void LocalTreeConnection::removeNodesWithPathArray(const QStringList &paths)
{
    mFileSystem.mController().removeNodesWithPathArray(paths);
}

void LocalTreeConnection::removeAllNode() { mFileSystem.mController().removeAllNode(); }

void LocalTreeConnection::takeAccount()
{
    const QString user = mMain.userObject().UserName();
    const bool backupMode = mMain.isAppInBackupMode();
    // Another user or mode brings its own set and exclusions. The tree lists itself from the start,
    // before any login, so it is listed again: a listing is what shows a loaded path
    // checked. The same account confirmed again keeps the tree as the user left it.
    if (user != mFileSystem.mUserName() || backupMode != mFileSystem.mBackupMode()) {
        mFileSystem.clearBackupSet();
        mFileSystem.setMUserName(user);
        mFileSystem.setMBackupMode(backupMode);
        mFileSystem.SetUserSpecifiedExclusion(MonitorExclusionPreferences::userSpecifiedExclusions(user));
        // The old rows go first: the load saves the set, and their checks are not the new set's.
        mFileSystem.RefreshWithoutinitialize();
        mFileSystem.loadDataFromDisk();
        mFileSystem.RefreshWithinitialize();
    }
    const QString destination = mMain.currentDestinationDrive();
    if (!destination.isEmpty())
        mFileSystem.volumesPopUpButton().selectTitle(destination);
}

void LocalTreeConnection::driveSelected(const QVariantMap &userInfo)
{
    const QString title = mFileSystem.volumesPopUpButton().selectedTitle();
    if (title.isEmpty())
        return;
    mMain.destinationDriveDidChange(mFileSystem.layout().volumesRoot + QLatin1Char('/') + title,
                                    userInfo.value(QStringLiteral("UnmountedVolumnPath")).toString());
}
