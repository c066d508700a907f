#include "client/backup/views/BackupPage.h"

#include "client/backup/views/ArchiveCleanupWindows.h"
#include "client/backup/views/BackupPageView.h"
#include "client/backup/views/SetListView.h"
#include "client/common/destination/BackupDestination.h"
#include "client/shell/account/MonitorProgram.h"
#include "client/shell/main/TXMainController.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/account/User.h"
#include "common/files/TXSupportFileManager.h"
#include "common/login/UserFiles.h"
#include "common/texts/QLLocalizedString.h"
#include "engine/controllers/RuvoDeleteController.h"
#include "session/manager/RuvoBackupManager.h"

#include <QPushButton>

BackupPage::BackupPage(TXMainController &mainController, TXTabViewController &tabs, QWidget *mainWindow,
                       AlertPresenter &alerts)
    : mAlerts(alerts)
    , mHost(mainController, tabs)
    , mController(mHost, mAlerts, RuvoBackupManager::factory())
    , mBackupsetViewController(mAlerts)
    , mSyncsetViewController(mAlerts)
    , mCleanup(mHost, mAlerts,
               {[this] { return mController.backupSet(); }, [this] { return mController.isBackupRunning(); }})
    , mCleanupDeleter(
          *mainController.deleteController(),
          [&mainController](RuvoDeleteController &deletion) { mainController.fillEngineController(deletion); })
    // No manager given: the follow-up saves and uploads through the program's shared extended-attribute
    // manager. Its work folder is the logged-in user's (set with the account).
    , mXattrFollowUp(QString(), nullptr)
    , mPage(new BackupPageView(mController))
    , mCleanupWindows(new ArchiveCleanupWindows(mCleanup, mainWindow))
{
    mPage->setSetListViews(new SetListView(mBackupsetViewController), new SetListView(mSyncsetViewController));
    const BackupsetViewController::MonitorLink monitor{&MonitorProgram::isRunning,
                                                       [&mainController] { mainController.launchMonitor(); },
                                                       MonitorProgram::launchFilePath()};
    mBackupsetViewController.setMonitorLink(monitor);
    mSyncsetViewController.setMonitorLink(monitor);
    mCleanup.setIndex(&mHost);
    mCleanup.setDeleter(&mCleanupDeleter);
    QObject::connect(mPage->cleanupButton(), &QPushButton::clicked, &mCleanup, &ArchiveCleanupController::onSync);
    QObject::connect(
        &mController, &BackupViewController::backupSetSaved, &mController, [this](const QString &path, bool) {
            (mHost.isAppInBackupMode() ? mBackupsetViewController : mSyncsetViewController).readBackupSetFromFile(path);
        });
    QObject::connect(&mController, &BackupViewController::controlsStatusChanged, &mController, [this](bool enabled) {
        mBackupsetViewController.setControlsStatus(enabled);
        mSyncsetViewController.setControlsStatus(enabled);
        mPage->cleanupButton()->setEnabled(enabled);
        mPage->setTreeEnabled(enabled);
    });
    QObject::connect(&mainController, &TXMainController::enableViewsChanged, &mController,
                     &BackupViewController::setControlsStatus);
    QObject::connect(&tabs, &TXTabViewController::showBackupProgress, &mController,
                     &BackupViewController::showProgressView);
    QObject::connect(&mainController, &TXMainController::accountDidChange, &mController, [this] {
        mController.backupInitialise();
        useFilesOfAccount();
        loadPrefrences();
        showBackupPath();
    });
    QObject::connect(&mainController, &TXMainController::modeDidChange, &mController, [this] {
        mController.backupInitialise();
        useFilesOfAccount();
        showBackupPath();
        mController.showBackupsetView();
    });
    QObject::connect(&mainController, &TXMainController::destinationDidChange, &mController, [this] {
        mController.backupInitialise();
        showBackupPath();
    });
    QObject::connect(&mainController, &TXMainController::stopAllOperations, &mController, [this] {
        if (mController.isBackupRunning())
            mController.mBackupManager()->CancelBackupProcess();
    });
    mController.setFollowUp([this, &mainController](const SessionDriver &driver) {
        const User &account = mainController.userObject();
        mXattrFollowUp.backupXattributes(
            mController.backupSet(), account,
            QLLocalizedString(BackupDestination::executorKey(mainController.isAppInBackupMode(), account.isRuvoUser())),
            driver.DestinationPath());
    });
}

BackupPage::~BackupPage()
{
    // The windows outlive the page in the main window; they must not reach the controllers.
    delete mCleanupWindows;
}

void BackupPage::useFilesOfAccount()
{
    const QString user = mHost.userObject().UserName();
    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    const BackupsetViewController::Files backupSet{files.pathForApplicationFile(ApplicationFile::BackupsetPath),
                                                   files.pathForApplicationFile(ApplicationFile::BackupsetSizePath),
                                                   BackupDestination::timeMachineListPath(user, true)};
    const BackupsetViewController::Files syncSet{UserFiles::path(QStringLiteral("SyncsetPath"), user),
                                                 UserFiles::path(QStringLiteral("SyncsetSizePath"), user),
                                                 BackupDestination::timeMachineListPath(user, false)};
    setSetListFiles(backupSet, syncSet);
    mXattrFollowUp.setWorkRoot(files.pathForApplicationFile(ApplicationFile::UserFolder) +
                               QStringLiteral("/TimeMachine"));
    mController.BackupSetSavedAtPath(mHost.isAppInBackupMode() ? backupSet.setFile : syncSet.setFile);
}

void BackupPage::loadPrefrences()
{
    const QString file = QLLocalizedString(QStringLiteral("MonitorPreferencePath"));
    const QString user = mHost.userObject().UserName();
    const bool ruvo = mHost.userObject().isRuvoUser();
    mCleanupWindows->setPreferences(ArchiveCleanupPreferences::loadPrefrences(file, user, ruvo), ruvo,
                                    [file, user, ruvo](const ArchiveCleanupPreferences &preferences) {
                                        preferences.savePreferences(file, user, ruvo);
                                    });
}

void BackupPage::showBackupPath()
{
    mPage->setBackupPath(BackupDestination::destinationFolder(
        BackupDestination::volumePath(mHost.currentDestinationDrive()), mHost.userObject(),
        BackupDestination::computerFolder(mHost.mpcName()), mHost.isAppInBackupMode()));
}

void BackupPage::setTree(QWidget *treeView, BackupTreeActions *treeActions, SetListTreeActions *setListActions)
{
    mPage->setTreeView(treeView);
    mController.setFileSystemObject(treeActions);
    mBackupsetViewController.setTree(setListActions);
    mSyncsetViewController.setTree(setListActions);
}

void BackupPage::setSetListFiles(const BackupsetViewController::Files &backupSet,
                                 const BackupsetViewController::Files &syncSet)
{
    mBackupsetViewController.setFiles(backupSet);
    mSyncsetViewController.setFiles(syncSet);
}
