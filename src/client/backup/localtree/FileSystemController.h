#pragma once

#include "client/backup/localtree/FolderSizeCalculator.h"
#include "client/backup/localtree/LocalTreeModel.h"
#include "client/backup/localtree/LocalTreeTimings.h"
#include "client/backup/localtree/TreeViewController.h"
#include "client/backup/localtree/TreeViewControllerDelegate.h"
#include "client/shell/account/MonitorProgram.h"
#include "common/volumes/LocalVolumeLayout.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <deque>
#include <functional>
#include <memory>

class BackupSetFiles;
class BackupSetSizeKeeper;
class DestinationVolumes;
class DistributedNotificationCenter;
class FolderLister;
class SerialWorker;
class VolumeWatcher;
struct FolderListing;

// The Backup tab's local tree: lists the disks folder by folder, keeps the
// checked items as the backup set (the sync set in sync mode) with its history
// and sizes, shows and hides exclusions, follows drives coming and going with
// the choice of destination drive, and keeps the Time Machine list.
class FileSystemController : public QObject, public TreeViewControllerDelegate, public LocalTreeActions
{
    Q_OBJECT

public:
    static const QString kLoadingMessage;  // "Loading..."

    explicit FileSystemController(const LocalVolumeLayout &layout = LocalVolumeLayout::current(),
                                  const LocalTreeTimings &timings = {},
                                  std::unique_ptr<FolderSizeCalculator> sizeCalculator = nullptr,
                                  QObject *parent = nullptr);
    ~FileSystemController() override;

    TreeViewController &mController() { return mTree; }
    LocalTreeModel &outlineModel() { return *mModel; }
    // The destination chooser: the shell reads its chosen title as the destination drive.
    DestinationVolumes &volumesPopUpButton() { return *mVolumes; }
    const LocalVolumeLayout &layout() const { return mLayout; }

    // --- Set by the shell at login, user change and mode change ---
    void setMUserName(const QString &userName);
    const QString &mUserName() const { return mUser; }
    void setMBackupMode(bool backupMode) { mIsBackupMode = backupMode; }
    bool mBackupMode() const { return mIsBackupMode; }
    void SetUserSpecifiedExclusion(const QStringList &paths) { mUserSpecifiedExclusion = paths; }
    const QStringList &userSpecifiedExclusion() const { return mUserSpecifiedExclusion; }
    // Reads the set, its history and the Time Machine list on the worker (after what is
    // being written) and hands them to the tree; listings wait to show until then, and saves
    // asked for meanwhile are made once the loaded selection is in.
    void loadDataFromDisk();
    void clearBackupSet() { mTree.clearBackupSet(); }
    void refreshLocalView();
    void RefreshWithoutinitialize();
    void RefreshWithinitialize();
    // Checks the default folders of the home folder a while later (first login).
    void setDefaultBackupSetCheckStateToOne();
    void addDefaultBackupset();
    void monitorVolumes();
    void addVolumesToPopupButton();
    bool mCancelAllOperation() const;
    void setmCancelOperation(bool cancel) override;
    // Listings whose folders are not filled in yet, and a load not handed to the tree yet.
    int isThreadRunning() const;

    // How the controller learns whether the monitor runs (by default: a process
    // of this user with the monitor's program name).
    void setMonitorProbe(std::function<bool()> isMonitorRunning) { mIsMonitorRunning = std::move(isMonitorRunning); }

    // --- The set's files ---
    QString pathForDataFile() const;
    QString pathForHistoryFile() const;
    void saveDataToDisk() override;
    void saveEmptyDataToDisk() override;
    void saveHistoryDataToDisk() override;
    // The saves above are written on a worker, the newest state of each file once; this
    // waits until everything saved so far is on disk (a backup about to read the set, a
    // quit), a running load handed to the tree first with the saves that wait for it.
    void finishSaving();

    // --- What the user does in the outline ---
    void toggleCheckBoxState(TreeViewNode *node) override;
    void expandNode(TreeViewNode *node) override;
    bool canListNodes() const override;
    void addPathForBackup(const QString &path) override;
    void excludefilePath(TreeViewNode *node);
    void refreshNode(TreeViewNode *node);
    // Saves, then empties the tree and lists it again with the saved selection (when no listing runs).
    void reload();
    // Title of the context menu's exclusion item for the row.
    QString excludeMenuTitle(const TreeViewNode *node) const;
    // The refresh item is offered for folders only.
    bool canRefreshNode(const TreeViewNode *node) const;

    // --- Time Machine databases ---
    void handleTimeMachineNode(TreeViewNode *node);
    void handleTimeMachinePath(const QString &storedPath);
    void handleTimeMachine();

    // --- Notifications from the monitor ---
    void ExlucdeFiles(const QString &object, const QVariantMap &userInfo);
    void addRemoveTimeMachineFilesToBackupSet(const QString &object, const QVariantMap &userInfo);

    // TreeViewControllerDelegate
    bool isLocalTree() const override { return true; }
    QString homeFolderPath() const override { return mLayout.homeTreePath(); }
    void reloadData() override;

signals:
    void BackupSetSavedAtPath(const QString &path);
    // A destination drive was chosen, or the chosen one went away: then the user
    // info holds "UnmountedVolumnPath" with the drive's path.
    void DestinationDriveSelected(const QVariantMap &userInfo);
    // An exclusion (or its removal) could not be written to the monitor's preferences:
    // the row keeps its state.
    void exclusionNotSaved(const QString &path);

private:
    struct PendingLoad;
    void applyLoaded();
    BackupSetFiles files() const;
    void rootTree();
    void startListing(TreeViewNode *folder);
    void folderListed(const FolderListing &listing);
    void installStep();
    void fetchDefaultBackupSet(TreeViewNode *folder);
    void addDefaultBackupsetToRoot();
    void volumeMounted(const QString &devicePath);
    void volumeUnmounted(const QString &devicePath);
    void notificationReceived(const QString &name, const QString &object, const QVariantMap &userInfo);
    void postToMonitor(const QString &name, const QVariantMap &userInfo = {});
    void writeSet(const std::function<QStringList()> &paths);
    // A path from outside the tree (stored form or a path on disk) as a tree path.
    QString treePathFor(const QString &path) const;

    LocalVolumeLayout mLayout;
    LocalTreeTimings mTimings;
    TreeViewController mTree;
    std::unique_ptr<LocalTreeModel> mModel;
    std::unique_ptr<FolderLister> mLister;
    std::unique_ptr<SerialWorker> mWriter;  // before the size keeper, which writes on it
    std::unique_ptr<BackupSetSizeKeeper> mSizes;
    std::unique_ptr<DestinationVolumes> mVolumes;
    std::unique_ptr<VolumeWatcher> mVolumeWatcher;
    std::unique_ptr<DistributedNotificationCenter> mNotifications;
    // Finished listings being turned into nodes, a part at a time.
    struct PendingInstall
    {
        QString folderPath;
        quint64 generation = 0;
        QVector<ListedEntry> entries;
        std::vector<TreeViewNode *> nodes;  // made so far; stale once the tree throws nodes away
        quint64 discards = 0;
    };
    std::deque<PendingInstall> mInstalls;
    QTimer mInstallTimer;
    std::shared_ptr<PendingLoad> mLoad;  // while a load runs
    bool mSaveAfterLoad = false;
    QString mUser;
    bool mIsBackupMode = true;
    QStringList mUserSpecifiedExclusion;
    std::function<bool()> mIsMonitorRunning = &MonitorProgram::isRunning;
};
