#pragma once

#include "client/backup/cleanup/ArchiveCleanupController.h"
#include "client/backup/cleanup/RuvoArchiveCleanupDeleter.h"
#include "client/backup/followups/TimeMachineXattrFollowUp.h"
#include "client/backup/now/BackupViewController.h"
#include "client/backup/setlist/BackupsetViewController.h"
#include "client/backup/views/MainControllerBackupHost.h"

#include <memory>

class ArchiveCleanupWindows;
class BackupPageView;
class BackupTreeActions;
class SetListTreeActions;
class TXMainController;
class TXTabViewController;

// The Backup tab's controllers over the main controller and the sidebar, and its
// page. BackupTab puts it together with the local tree and hands it to the tab view.
class BackupPage
{
public:
    // The cleanup windows open over mainWindow; the tab's messages go to alerts.
    BackupPage(TXMainController &mainController, TXTabViewController &tabs, QWidget *mainWindow,
               AlertPresenter &alerts);
    ~BackupPage();

    BackupPageView *page() const { return mPage; }
    BackupViewController &controller() { return mController; }
    ArchiveCleanupController &cleanup() { return mCleanup; }
    ArchiveCleanupWindows &cleanupWindows() { return *mCleanupWindows; }
    BackupsetViewController &backupsetViewController() { return mBackupsetViewController; }

    // The local tree: its widget, the chooser and default set, and the set lists' removals.
    void setTree(QWidget *treeView, BackupTreeActions *treeActions, SetListTreeActions *setListActions);
    // The set files of the signed-in user and mode.
    void setSetListFiles(const BackupsetViewController::Files &backupSet,
                         const BackupsetViewController::Files &syncSet);

private:
    // The set files of the signed-in account and mode.
    void useFilesOfAccount();
    // The signed-in account's cleanup settings into the cleanup window.
    void loadPrefrences();
    // Where Backup Now stores on the destination drive, under the chooser.
    void showBackupPath();

    AlertPresenter &mAlerts;
    MainControllerBackupHost mHost;
    BackupViewController mController;
    BackupsetViewController mBackupsetViewController;
    BackupsetViewController mSyncsetViewController;
    ArchiveCleanupController mCleanup;
    RuvoArchiveCleanupDeleter mCleanupDeleter;
    TimeMachineXattrFollowUp mXattrFollowUp;
    BackupPageView *mPage;                   // owned by the tab view once handed over
    ArchiveCleanupWindows *mCleanupWindows;  // owned by the main window
};
