#include "client/backup/localtree/FileSystemController.h"

#include "client/backup/localtree/BackupSetSizeKeeper.h"
#include "client/backup/localtree/DestinationVolumes.h"
#include "client/backup/localtree/FolderLister.h"
#include "client/backup/localtree/FolderSizeCalculator.h"
#include "client/backup/localtree/SerialWorker.h"
#include "common/backupset/BackupSetFiles.h"
#include "common/backupset/LocalTreeExclusions.h"
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/backupset/TimeMachineReferenceList.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "common/volumes/VolumeWatcher.h"
#include "platform/DistributedNotificationCenter.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

const QString FileSystemController::kLoadingMessage = QStringLiteral("Loading...");

namespace {

// Posted by the client.
const QString kExclusionToMonitor = QStringLiteral("TarnixMonitorPortableAddRemoveFileToExclude");
const QString kTimeMachineListChanged = QStringLiteral("TarnixPortableMonitorTimeMachineFileBackup");
// Posted by the monitor.
const QString kExclusionFromMonitor = QStringLiteral("TarnixPortableAddRemoveFileToExclude");
const QString kTimeMachineFromMonitor = QStringLiteral("TarnixPortableTimeMachineFileBackup");

const QString kUnmountedVolumePathKey = QStringLiteral("UnmountedVolumnPath");
const QString kAdd = QStringLiteral("add");
const QString kRemove = QStringLiteral("remove");
const QString kRemoveObject = QStringLiteral("Remove");

QString modificationDate(const QString &diskPath, const QString &format)
{
    const QFileInfo info(diskPath);
    return info.exists() ? info.lastModified().toString(format) : QString();
}

QStringList pathsIn(const QVariant &value)
{
    return value.typeId() == QMetaType::QString ? QStringList{value.toString()} : value.toStringList();
}

}  // namespace

FileSystemController::FileSystemController(const LocalVolumeLayout &layout, const LocalTreeTimings &timings,
                                           std::unique_ptr<FolderSizeCalculator> sizeCalculator, QObject *parent)
    : QObject(parent)
    , mLayout(layout)
    , mTimings(timings)
    , mTree(mLayout)
    , mLister(std::make_unique<FolderLister>(timings.listingPause))
    , mWriter(std::make_unique<SerialWorker>())
    , mVolumes(std::make_unique<DestinationVolumes>())
    , mVolumeWatcher(std::make_unique<VolumeWatcher>(layout.volumesRoot))
    , mNotifications(std::make_unique<DistributedNotificationCenter>())
{
    if (!sizeCalculator)
        sizeCalculator = std::make_unique<WalkingFolderSizeCalculator>(timings.sizeWalkPause);
    mSizes = std::make_unique<BackupSetSizeKeeper>(std::move(sizeCalculator), mLayout, mTimings, *mWriter);
    mTree.setDelegate(this);
    mModel = std::make_unique<LocalTreeModel>(mTree, *this);
    connect(mLister.get(), &FolderLister::folderListed, this, &FileSystemController::folderListed);
    mInstallTimer.setSingleShot(true);
    mInstallTimer.setInterval(0);
    connect(&mInstallTimer, &QTimer::timeout, this, &FileSystemController::installStep);
    connect(mVolumeWatcher.get(), &VolumeWatcher::volumeMounted, this, &FileSystemController::volumeMounted);
    connect(mVolumeWatcher.get(), &VolumeWatcher::volumeUnmounted, this, &FileSystemController::volumeUnmounted);
    connect(mVolumes.get(), &DestinationVolumes::destinationChosen, this,
            [this] { emit DestinationDriveSelected({}); });
    connect(mNotifications.get(), &DistributedNotificationCenter::notificationReceived, this,
            &FileSystemController::notificationReceived);
    rootTree();
}

FileSystemController::~FileSystemController()
{
    mLister->setCancelled(true);
    // Quitting loses no change of the selection.
    finishSaving();
    mTree.setDelegate(nullptr);
    mTree.setStructureObserver(nullptr);
}

// --- Shell hooks ---

void FileSystemController::setMUserName(const QString &userName) { mUser = userName; }

BackupSetFiles FileSystemController::files() const { return BackupSetFiles(mUser, mIsBackupMode); }

QString FileSystemController::pathForDataFile() const { return files().pathForDataFile(); }

QString FileSystemController::pathForHistoryFile() const { return files().pathForHistoryFile(); }

bool FileSystemController::mCancelAllOperation() const { return mLister->isCancelled(); }

void FileSystemController::setmCancelOperation(bool cancel) { mLister->setCancelled(cancel); }

int FileSystemController::isThreadRunning() const
{
    return mLister->runningListings() + int(mInstalls.size()) + (mLoad ? 1 : 0);
}

bool FileSystemController::canListNodes() const { return !mLister->isCancelled(); }

void FileSystemController::rootTree()
{
    mTree.setRootNodeWithPath(mLayout.volumesRoot);
    expandNode(mTree.mRootItem());
}

void FileSystemController::refreshLocalView()
{
    setmCancelOperation(true);
    mTree.clearAllNodes();
    setmCancelOperation(false);
    rootTree();
}

void FileSystemController::RefreshWithoutinitialize()
{
    setmCancelOperation(true);
    mTree.clearAllNodes();
}

void FileSystemController::RefreshWithinitialize()
{
    setmCancelOperation(false);
    rootTree();
}

void FileSystemController::reload()
{
    if (isThreadRunning() != 0)
        return;
    saveHistoryDataToDisk();
    saveDataToDisk();
    if (mTree.mRootItem())
        mTree.deleteNodeFromTreeWithPath(mTree.mRootItem()->fullPath());
    setmCancelOperation(false);
    // Emptying the tree forgot the selection; it comes back from the file just saved.
    loadDataFromDisk();
    rootTree();
}

void FileSystemController::reloadData() { mModel->reloadData(); }

// --- Listing ---

void FileSystemController::expandNode(TreeViewNode *node)
{
    if (!node || node->isAFile() || mLister->isCancelled())
        return;
    mTree.addPlaceholder(node, kLoadingMessage);
    startListing(node);
}

void FileSystemController::startListing(TreeViewNode *folder)
{
    FolderLister::Request request;
    request.folderPath = folder->fullPath();
    request.listsDrives = folder == mTree.mRootItem();
    request.diskPath = request.listsDrives ? mLayout.volumesRoot : mLayout.diskPath(folder->fullPath());
    request.showHidden = QLUtility::ShowHiddenFilesKey();
    request.generation = mTree.generation();
    request.layout = mLayout;
    request.exclusions = LocalTreeExclusions(mLayout, mUserSpecifiedExclusion);
    mLister->list(request);
}

void FileSystemController::folderListed(const FolderListing &listing)
{
    TreeViewNode *folder = mTree.nodeForPath(listing.folderPath);
    if (listing.generation != mTree.generation() || !folder || !mTree.isAwaitingListing(folder))
        return;
    if (listing.cancelled) {
        // The placeholder stays; the folder is listed again when it is next opened.
        folder->setIsExpanded(false);
        return;
    }
    if (listing.folderGone) {
        mTree.removePlaceholder(folder);
        return;
    }
    mInstalls.push_back({listing.folderPath, listing.generation, listing.entries, {}, mTree.discards()});
    mInstallTimer.start();
}

void FileSystemController::installStep()
{
    // A listing shown before the loaded selection is in would show its checked items unchecked.
    if (mInstalls.empty() || mLoad)
        return;
    PendingInstall &job = mInstalls.front();
    TreeViewNode *folder = mTree.nodeForPath(job.folderPath);
    if (job.generation != mTree.generation() || !folder || !mTree.isAwaitingListing(folder)) {
        mInstalls.pop_front();
    } else {
        if (job.discards != mTree.discards()) {
            job.nodes.clear();
            job.discards = mTree.discards();
        }
        const size_t end = std::min(job.nodes.size() + size_t(kNodesPerInstallStep), size_t(job.entries.size()));
        for (size_t i = job.nodes.size(); i < end; ++i)
            job.nodes.push_back(mTree.listedNode(folder, job.entries[qsizetype(i)]));
        if (job.nodes.size() == size_t(job.entries.size())) {
            const PendingInstall done = std::move(job);
            mInstalls.pop_front();
            const bool isHome = done.folderPath == mLayout.homeTreePath();
            mTree.showListedChildren(folder, done.nodes,
                                     isHome ? TreeViewController::kHomeDefaultFolders : QStringList());
            fetchDefaultBackupSet(folder);
        }
    }
    if (!mInstalls.empty())
        mInstallTimer.start();
}

void FileSystemController::fetchDefaultBackupSet(TreeViewNode *folder)
{
    if (mLister->isCancelled())
        return;
    // The tree lists its own way down to the home folder.
    const QString home = mLayout.homeTreePath();
    const QString path = folder->fullPath();
    if (path == home) {
        addDefaultBackupsetToRoot();
        return;
    }
    if (!home.startsWith(path + '/'))
        return;
    TreeViewNode *next = mTree.nodeForPath(path + '/' + home.mid(path.size() + 1).section('/', 0, 0));
    if (next && !next->isExpanded())
        expandNode(next);
}

void FileSystemController::addDefaultBackupsetToRoot()
{
    int position = 0;
    for (const QString &name : TreeViewController::kHomeDefaultFolders) {
        const QString path = mLayout.homeTreePath() + '/' + name;
        TreeViewNode *node = mTree.nodeForPath(path);
        if (node && QFileInfo::exists(mLayout.diskPath(path)))
            mTree.showAtTopOfRoot(node, position++);
    }
}

void FileSystemController::setDefaultBackupSetCheckStateToOne()
{
    QTimer::singleShot(mTimings.defaultSetDelay, this, &FileSystemController::addDefaultBackupset);
}

void FileSystemController::addDefaultBackupset()
{
    for (const QString &name : TreeViewController::kHomeDefaultFolders) {
        const QString path = mLayout.homeTreePath() + '/' + name;
        const QString diskPath = mLayout.diskPath(path);
        TreeViewNode *node = mTree.nodeForPath(path);
        if (node && node->checkState() != TreeViewNode::Checked)
            mTree.toggleCheckboxStateforNode(node);
        else if (!node && QLUtility::isDirectory(diskPath))
            // The home folder is not listed yet: the folder waits in the backup set.
            mTree.addNodeWithPath(path, TreeViewNode::Checked, true, QStringLiteral("-"), {},
                                  modificationDate(diskPath, kListingDateFormat));
    }
}

// --- The set's files ---

void FileSystemController::writeSet(const std::function<QStringList()> &paths)
{
    const BackupSetFiles setFiles = files();
    const QString setFile = setFiles.pathForDataFile();
    mSizes->setFiles(setFiles.sizeFilePath(), setFiles.sizeFlagFilePath(), mUser);
    mSizes->saveBackupSetForSizeCalculation(paths, setFile, [this, setFile] { emit BackupSetSavedAtPath(setFile); });
}

void FileSystemController::finishSaving()
{
    if (mLoad) {
        mWriter->finish();
        applyLoaded();
    }
    mWriter->finish();
}

void FileSystemController::saveDataToDisk()
{
    if (mLoad) {
        mSaveAfterLoad = true;
        return;
    }
    writeSet([selection = mTree.selection(), layout = mLayout] {
        return TreeViewController::maskedBackupSet(selection, layout);
    });
}

void FileSystemController::saveEmptyDataToDisk()
{
    writeSet([] { return QStringList(); });
    mTree.clearBackupSet();
}

void FileSystemController::saveHistoryDataToDisk()
{
    if (mLoad) {
        mSaveAfterLoad = true;
        return;
    }
    const QString historyFile = files().pathForHistoryFile();
    mWriter->post(historyFile, [historyFile, layout = mLayout, history = mTree.getHistorySet()] {
        QStringList stored;
        for (const QString &path : history)
            stored.append(layout.storedForm(path));
        stored.sort();
        BackupSetFiles::writeHistory(historyFile, stored);
    });
}

struct FileSystemController::PendingLoad
{
    struct Files
    {
        QString setFile;
        QString historyFile;
        QString timeMachineList;
    };
    struct Selection
    {
        QSet<QString> backupSet;
        QSet<QString> historySet;
    };

    // Sorts the saved paths into those that exist now (the backup set) and those that do not
    // (the history); none when a file cannot be read.
    static std::optional<Selection> read(const Files &files, const LocalVolumeLayout &layout)
    {
        const auto saved = BackupSetFiles::readList(files.setFile);
        const auto history = BackupSetFiles::readHistory(files.historyFile);
        const auto timeMachine = BackupSetFiles::readList(files.timeMachineList);
        if (!saved || !history || !timeMachine)
            return std::nullopt;
        Selection selection;
        const auto sortIn = [&](const QString &storedPath) {
            const QString treePath = layout.treePath(storedPath);
            (QLUtility::isFileExists(layout.diskPath(treePath)) ? selection.backupSet : selection.historySet)
                .insert(treePath);
        };
        for (const QString &path : *saved + *history) {
            if (!TimeMachineReferenceList::isDatabaseFolder(path))
                sortIn(path);
        }
        for (const QString &path : *timeMachine)
            sortIn(path);
        return selection;
    }

    // None when a file could not be read: the selection is left as it is.
    std::optional<Selection> selection;
};

void FileSystemController::loadDataFromDisk()
{
    const BackupSetFiles setFiles = files();
    const PendingLoad::Files loadFrom{setFiles.pathForDataFile(), setFiles.pathForHistoryFile(),
                                      setFiles.timeMachineListPath()};
    auto load = std::make_shared<PendingLoad>();
    mLoad = load;
    // On the worker, after the saves waiting there: what was saved last is what loads.
    mWriter->post([this, load, loadFrom, layout = mLayout] {
        load->selection = PendingLoad::read(loadFrom, layout);
        QMetaObject::invokeMethod(this, [this, load] {
            if (mLoad == load)
                applyLoaded();
        });
    });
}

void FileSystemController::applyLoaded()
{
    const std::shared_ptr<PendingLoad> load = std::exchange(mLoad, nullptr);
    if (load->selection) {
        mTree.setBackupSet(load->selection->backupSet);
        mTree.setHistorySet(load->selection->historySet);
    }
    const bool savesWaited = std::exchange(mSaveAfterLoad, false);
    if (load->selection || savesWaited) {
        saveHistoryDataToDisk();
        saveDataToDisk();
    }
    if (!mInstalls.empty())
        mInstallTimer.start();
}

// --- Outline actions ---

void FileSystemController::toggleCheckBoxState(TreeViewNode *node)
{
    if (!node || node->isPlaceholder())
        return;
    handleTimeMachineNode(node);
    mTree.toggleCheckboxStateforNode(node);
}

QString FileSystemController::treePathFor(const QString &path) const
{
    return mLayout.isUnderVolumesRoot(path) ? path : mLayout.treePath(path);
}

void FileSystemController::addPathForBackup(const QString &path)
{
    const QString diskPath = QDir::cleanPath(path);
    const QString treePath = mLayout.treePathOfDiskPath(diskPath);
    mTree.addNodeWithPath(treePath, TreeViewNode::Checked, true, QStringLiteral("-"), {},
                          modificationDate(diskPath, kListingDateFormat));
}

void FileSystemController::excludefilePath(TreeViewNode *node)
{
    if (!node || node->isPlaceholder())
        return;
    const bool excluded = !node->isExcluded();
    const QString storedPath = mLayout.storedForm(node->fullPath());
    if (mIsMonitorRunning()) {
        postToMonitor(kExclusionToMonitor, {{excluded ? kAdd : kRemove, storedPath}});
    } else if (!MonitorExclusionPreferences::writeFilePathToExcludePreferences(mUser, storedPath, excluded)) {
        // The backup reads the file: a row shown excluded but not written would still be backed up.
        emit exclusionNotSaved(node->fullPath());
        return;
    }
    node->setIsExcluded(excluded);
    mUserSpecifiedExclusion.removeAll(storedPath);
    if (excluded)
        mUserSpecifiedExclusion.append(storedPath);
    mTree.excludeNode(node);
    reloadData();
}

QString FileSystemController::excludeMenuTitle(const TreeViewNode *node) const
{
    if (!node)
        return {};
    if (node->isExcluded())
        return node->isAFile() ? QStringLiteral("Remove this file from exclude")
                               : QStringLiteral("Remove this folder from exclude");
    return node->isAFile() ? QStringLiteral("Exclude this file from backup")
                           : QStringLiteral("Exclude this folder from backup");
}

bool FileSystemController::canRefreshNode(const TreeViewNode *node) const
{
    return !node || (!node->isAFile() && !node->isPlaceholder());
}

void FileSystemController::refreshNode(TreeViewNode *node)
{
    if (!node || node->isAFile() || node->isPlaceholder())
        return;
    const QString path = node->fullPath();
    // The start-up disk and the folders down to the home folder hold the default
    // folders: the whole tree is read again.
    const QString home = mLayout.homeTreePath();
    if (mLayout.isOnStartupVolume(path) && (path == home || home.startsWith(path + '/'))) {
        loadDataFromDisk();
        refreshLocalView();
        return;
    }
    if (!node->isExpanded())
        return;
    mTree.forgetChildrenKeepingSelection(node);
    node->setIsExpanded(false);
    expandNode(node);
}

// --- Drives ---

void FileSystemController::monitorVolumes() { mVolumeWatcher->start(); }

void FileSystemController::addVolumesToPopupButton()
{
    QStringList titles{mLayout.startupName};
    for (const QString &name : VolumeWatcher::volumeNames(mLayout.volumesRoot)) {
        if (!titles.contains(name))
            titles.append(name);
    }
    mVolumes->setTitles(titles);
}

void FileSystemController::volumeMounted(const QString &devicePath)
{
    mTree.addNodeWithPath(devicePath, TreeViewNode::Unchecked, true, QStringLiteral("-"), {},
                          modificationDate(devicePath, QStringLiteral("MM-dd-yyyy HH:mm:ss")));
    mVolumes->appendTitle(devicePath.section('/', -1));
}

void FileSystemController::volumeUnmounted(const QString &devicePath)
{
    const QString title = devicePath.section('/', -1);
    const bool wasDestination = mVolumes->selectedTitle() == title;
    mTree.deleteNodeFromTreeWithPath(devicePath);
    mVolumes->removeTitle(title);
    if (wasDestination) {
        mVolumes->selectTitle(mLayout.startupName);
        emit DestinationDriveSelected({{kUnmountedVolumePathKey, devicePath}});
    }
}

// --- Time Machine databases ---

void FileSystemController::handleTimeMachineNode(TreeViewNode *node)
{
    if (!TimeMachineReferenceList::isDatabaseFolder(node->fullPath()))
        return;
    TimeMachineReferenceList list(files().timeMachineListPath());
    const QString storedPath = mLayout.storedForm(node->fullPath());
    if (node->checkState() == TreeViewNode::Checked)
        list.remove(storedPath);
    else
        list.add(storedPath);
    postToMonitor(kTimeMachineListChanged);
}

void FileSystemController::handleTimeMachinePath(const QString &storedPath)
{
    if (!TimeMachineReferenceList::isDatabaseFolder(storedPath))
        return;
    TimeMachineReferenceList(files().timeMachineListPath()).remove(storedPath);
    postToMonitor(kTimeMachineListChanged);
}

void FileSystemController::handleTimeMachine()
{
    if (TimeMachineReferenceList(files().timeMachineListPath()).clear())
        postToMonitor(kTimeMachineListChanged);
}

// --- Notifications ---

void FileSystemController::postToMonitor(const QString &name, const QVariantMap &userInfo)
{
    mNotifications->postNotificationName(name, {}, userInfo);
}

void FileSystemController::notificationReceived(const QString &name, const QString &object, const QVariantMap &userInfo)
{
    if (name == kExclusionFromMonitor)
        ExlucdeFiles(object, userInfo);
    else if (name == kTimeMachineFromMonitor)
        addRemoveTimeMachineFilesToBackupSet(object, userInfo);
}

void FileSystemController::ExlucdeFiles(const QString &object, const QVariantMap &userInfo)
{
    const bool excluded = object != kRemoveObject;
    const QStringList paths = pathsIn(userInfo.value(excluded ? kAdd : kRemoveObject));
    for (const QString &path : paths) {
        mUserSpecifiedExclusion.removeAll(path);
        if (excluded)
            mUserSpecifiedExclusion.append(path);
        if (TreeViewNode *node = mTree.nodeForPath(treePathFor(path))) {
            node->setIsExcluded(excluded);
            mTree.excludeNode(node);
        }
    }
    reloadData();
}

void FileSystemController::addRemoveTimeMachineFilesToBackupSet(const QString &object, const QVariantMap &userInfo)
{
    if (object == kAdd) {
        const QString treePath = treePathFor(userInfo.value(kAdd).toString());
        mTree.addNodeWithPath(treePath, TreeViewNode::Checked, true, QStringLiteral("-"), {},
                              modificationDate(mLayout.diskPath(treePath), kListingDateFormat));
    } else {
        mTree.removeNodeWithPath(treePathFor(userInfo.value(kRemoveObject).toString()));
    }
}
