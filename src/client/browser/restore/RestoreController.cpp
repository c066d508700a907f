#include "client/browser/restore/RestoreController.h"

#include "client/browser/host/BrowserHost.h"
#include "client/browser/host/FolderChooser.h"
#include "client/browser/host/Workspace.h"
#include "client/browser/restore/RestoreDestinationStore.h"
#include "client/browser/restore/RestoreRules.h"
#include "client/browser/restore/RestoreView.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "client/browser/tree/RemoteTreeRules.h"
#include "client/browser/versions/VersionBrowser.h"
#include "client/common/destination/BackupDestination.h"
#include "common/account/User.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/OnlineLogController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/transfer/ProgressReport.h"
#include "common/utility/QLUtility.h"
#include "desktop/alerts/AlertPresenter.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "platform/DistributedNotificationCenter.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

const QString kPreferencesNotification = QStringLiteral("TarnixPortableEnablePreferencesNotification");

QString restoreAlertTitle() { return QLLocalizedString(QStringLiteral("ApplicationName")); }

}  // namespace

RestoreController::RestoreController(BrowserHost &host, AlertPresenter &alerts, FolderChooser &chooser,
                                     Workspace &workspace, RemoteTreeController &tree, Services services,
                                     ProgressPaneTimings paneTimings, QObject *parent)
    : QObject(parent)
    , mHost(host)
    , mAlerts(alerts)
    , mChooser(chooser)
    , mWorkspace(workspace)
    , mTree(tree)
    , mServices(std::move(services))
    , mProgressViewController(paneTimings)
{
    mProgressViewController.setDelegate(this);
}

RestoreController::~RestoreController() = default;

template <class Change>
void RestoreController::forEachView(Change &&change)
{
    for (const PageViews &page : mPages)
        if (page.view)
            change(*page.view);
}

QString RestoreController::dataRoot()
{
    const QString volume = BackupDestination::volumePath(mHost.currentDestinationDrive());
    if (volume.isEmpty() || !QFileInfo(volume).isDir())
        return {};
    return RemoteTreeRules::dataRoot(volume, mHost.userObject(), mHost.isAppInBackupMode());
}

QString RestoreController::executorPath()
{
    return QLLocalizedString(
        BackupDestination::executorKey(mHost.isAppInBackupMode(), mHost.userObject().isRuvoUser()));
}

void RestoreController::restoreInitialise()
{
    if (isRestoreRunning())
        return;  // the running restore keeps its driver to its end
    mDriver.reset();
    mRestoreFilesList.clear();
    const QString root = dataRoot();
    if (!root.isEmpty()) {
        SessionDriver::Setup setup;
        setup.backupMode = mHost.isAppInBackupMode();
        setup.applicationSupportFolder =
            TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserFolder);
        setup.destinationPath = root;
        mDriver = mServices.makeDriver(setup, *this);
        mDriver->setBackupSourceFolder(mDestination);
        mDriver->setuserInfo(mHost.userObject());
        mDriver->setExecutorPath(executorPath());
    }
    canHideBrowseButton();
}

void RestoreController::setRestoreDestinationUI() { setRestoreDestination(RestoreDestinationStore::loadDestination()); }

void RestoreController::setRestoreDestination(const QString &path)
{
    mDestination = path;
    forEachView([&path](RestoreView &view) { view.showRestoreDestination(path); });
}

bool RestoreController::promptsForDestination()
{
    return RestoreDestinationStore::promptPreference(mHost.getPreferencesSettingForUser(mHost.userObject().UserName()));
}

void RestoreController::canHideBrowseButton(const std::optional<bool> &prompt)
{
    const bool hidden = prompt.value_or(promptsForDestination());
    forEachView([hidden](RestoreView &view) { view.setDestinationControlsHidden(hidden); });
}

void RestoreController::canHideBrowseButton(const QString &monitorValue)
{
    if (monitorValue.trimmed().isEmpty())
        canHideBrowseButton();
    else
        canHideBrowseButton(monitorValue.trimmed().toInt() != 0);
}

void RestoreController::inform(const QString &text) { mAlerts.inform(text); }

std::optional<QString> RestoreController::chooseWritableFolder(bool withPromptBox)
{
    for (;;) {
        const std::optional<QString> folder =
            withPromptBox ? mChooser.chooseFolderWithPromptBox(
                                mDestination, [this](bool ticked) { finalRestoreDestinationPath(ticked); })
                          : mChooser.chooseFolder(mDestination);
        if (!folder)
            return std::nullopt;
        if (QLUtility::isWritableFileAtPath(*folder))
            return folder;
        AlertRequest denied;
        denied.title = QLLocalizedString(QStringLiteral("Permission denied!"));
        denied.message =
            QLLocalizedString(QStringLiteral("The destination folder selected does not have write permission"));
        denied.defaultButton = QLLocalizedString(QStringLiteral("OK"));
        mAlerts.inform(denied);
    }
}

void RestoreController::useDestination(const QString &folder)
{
    setRestoreDestination(folder);
    if (mDriver)
        mDriver->setBackupSourceFolder(folder);
    RestoreDestinationStore::saveDestination(folder);
}

void RestoreController::openPanel()
{
    // Cancel leaves the destination as it was.
    if (const std::optional<QString> folder = chooseWritableFolder(false))
        useDestination(*folder);
}

void RestoreController::finalRestoreDestinationPath(bool ticked)
{
    RestoreDestinationStore::writePromptPreference(QLLocalizedString(QStringLiteral("MonitorPreferencePath")),
                                                   mHost.userObject().UserName(), !ticked);
    canHideBrowseButton(!ticked);
    DistributedNotificationCenter().postNotificationName(kPreferencesNotification);
}

bool RestoreController::isRestoreRunning() const
{
    return (mDriver && mDriver->isRunning()) || mHost.isVersionRestoreRunning();
}

RestoreRules::Selection RestoreController::treeSelection() const
{
    QList<RestoreRules::CheckedItem> items;
    for (const TreeViewNode *node : mTree.getAllSelectedNode())
        items.append({node->fullPath(), !node->isAFile()});
    return RestoreRules::groupSelection(items);
}

void RestoreController::RstoreFileFromServer()
{
    restoreItems(treeSelection(), Page::Restore,
                 QLLocalizedString(QStringLiteral("Please select a file/folder that you wish to restore.")));
}

void RestoreController::restoreItems(const RestoreRules::Selection &selection, Page page,
                                     const QString &nothingSelectedText)
{
    if (mHost.isReIndexInProgress()) {
        inform(kReIndexText);
        return;
    }
    if (isRestoreRunning()) {
        // The Restore page's button waits quietly; the search results say why.
        if (page == Page::Search) {
            AlertRequest running;
            running.title = QLLocalizedString(QStringLiteral("Restore in progress"));
            running.message = QLLocalizedString(kRestoreRunningText);
            running.defaultButton = QLLocalizedString(QStringLiteral("OK"));
            mAlerts.inform(running);
        }
        return;
    }
    const QVariantMap preferences = mHost.getPreferencesSettingForUser(mHost.userObject().UserName());
    const bool prompt = RestoreDestinationStore::promptPreference(preferences);
    if (!preferences.isEmpty())
        canHideBrowseButton(prompt);
    if (!mDriver) {
        inform(kNoDataRootText);
        return;
    }
    if (selection.contents.isEmpty() && !isVersionSelected(page)) {
        if (!nothingSelectedText.isEmpty())
            inform(nothingSelectedText);
        return;
    }
    if (!prompt) {
        if (RestoreRules::asksBeforeRestore(mDestination, RestoreDestinationStore::defaultDestination()) &&
            !mAlerts.confirm(QStringLiteral("Selected files/ folders will be restored to '%1' folder. Would you like "
                                            "to proceed?")
                                 .arg(mDestination)))
            return;
        restoreSelection(selection, page);
        return;
    }
    const std::optional<QString> folder = chooseWritableFolder(true);
    if (!folder) {
        finalRestoreDestinationPath(false);  // a ticked box is undone
        return;
    }
    useDestination(*folder);
    restoreSelection(selection, page);
}

void RestoreController::restoreFiles() { restoreSelection(treeSelection(), Page::Restore); }

bool RestoreController::restoreSelection(const RestoreRules::Selection &selection, Page page)
{
    if (!mDriver) {
        inform(kNoDataRootText);
        return false;
    }
    if (isRestoreRunning())
        return false;
    mDriver->setBackupSourceFolder(mDestination);
    VersionBrowser *versions = mPages[pageIndex(page)].versions;
    if (isVersionSelected(page)) {
        versions->performVersionRestore();
        return true;
    }
    if (versions)
        versions->closePane();
    // Nothing checked (the pane's version was unselected meanwhile): no empty restore.
    if (selection.contents.isEmpty())
        return false;
    beginRunOf(page);
    mProgressViewController.setHiddenPauseButton(true);
    mRestoreFilesList = selection.contents;
    mRestoreComputerFolder = mHost.isAppInBackupMode() ? mHost.mpcName() : QString();

    // The log is ready before the session starts: its first callbacks write to it.
    const QString sessionLogPath = SessionLogsFolder::fromApplicationFiles().newSessionLogPath(
        QStringLiteral("Restore"), QDateTime::currentDateTime());
    const QString startTime = QLUtility::getSessionLogTime();
    OnlineLogController::SharedOnlineLogController().setOperationStartTime(startTime);
    mSessionLog = std::make_unique<RestoreSessionLog>(sessionLogPath, mSyncDownLogger, page);
    mSessionLog->started(mHost.userObject().UserName(), startTime, mDestination, mRestoreFilesList);
    mTotalFileCount = 0;

    mDriver->mFolderSetForRelativeRestore() = selection.folders;
    mDriver->mFileSetForRestore() = selection.indexPathsOfFiles();
    mDriver->setExecutorPath(executorPath());
    mDriver->setuserInfo(mHost.userObject());
    // Both pages wait for this restore's end.
    forEachView([](RestoreView &view) {
        view.setRestoreButtonEnabled(false);
        view.setDestinationButtonEnabled(false);
    });
    mDriver->startRestore();

    mHost.setSearchInProgress(page == Page::Search);
    mProgressViewController.setPercentage(QStringLiteral("0"));
    if (page == Page::Restore)
        showProgressView();
    else
        mHost.setRestoreMiniProgressHidden(false);
    return true;
}

void RestoreController::showProgressView()
{
    if (!isRestoreRunning())
        return;
    // The pane stands in for the sidebar's box while it shows.
    mHost.setRestoreMiniProgressHidden(true);
    if (RestoreView *view = runningView())
        view->setProgressPaneShown(true);
}

void RestoreController::stopAllOperations()
{
    if (mDriver && mDriver->isRunning())
        mDriver->CancelBackupProcess();
}

bool RestoreController::isVersionSelected(Page page) const
{
    const VersionBrowser *versions = mPages[pageIndex(page)].versions;
    return versions && versions->isVersionSelected();
}

void RestoreController::beginRunOf(Page page)
{
    mRunningPage = page;
    if (ProgressView *pane = mPages[pageIndex(page)].pane)
        mProgressViewController.setView(pane);
}

// --- The version restore ---

void RestoreController::versionRestoreDidStart(Page page)
{
    beginRunOf(page);
    mProgressViewController.onOperationStart();
    mProgressViewController.setHiddenPauseButton(true);
    // Both pages wait for its end.
    forEachView([](RestoreView &view) {
        view.setRestoreButtonEnabled(false);
        view.setDestinationButtonEnabled(false);
    });
}

void RestoreController::versionRestoreDidReceiveData(const ProgressReport &report)
{
    mProgressViewController.setHiddenPauseAndStopButton(false);
    mProgressViewController.setHiddenPauseButton(true);
    if (report.has(ProgressReport::Percentage))
        mProgressViewController.setPercentage(report.value(ProgressReport::Percentage));
    if (report.has(ProgressReport::EstimatedTime))
        mProgressViewController.setEstimatedTime(report.value(ProgressReport::EstimatedTime));
    mProgressViewController.showTransfer(report, QStringLiteral("Restore progress"));
}

void RestoreController::versionRestoreDidEnd()
{
    if (RestoreView *view = runningView())
        view->setProgressPaneShown(false);
    forEachView([](RestoreView &view) {
        view.setRestoreButtonEnabled(true);
        view.setDestinationButtonEnabled(true);
    });
    canHideBrowseButton();
}

// --- The pane ---

void RestoreController::toggleProgressView(ProgressViewController &, bool hidden)
{
    if (!hidden)
        return;
    if (RestoreView *view = runningView())
        view->setProgressPaneShown(false);
    mHost.setRestoreMiniProgressHidden(false);
    canHideBrowseButton();
}

void RestoreController::stopProcess(ProgressViewController &pane)
{
    pane.setProgressStatus(QStringLiteral("Stopping restore operation..."));
    pane.refreshView();
    if (mHost.isVersionRestoreRunning())
        mHost.cancelVersionRestore();
    else if (mDriver)
        mDriver->CancelBackupProcess();
}

// --- The session ---

void RestoreController::operationDidStart(SessionDriver *)
{
    mHost.setRestoreMiniPercentage(QStringLiteral("0 %"));
    mProgressViewController.onOperationStart();
    forEachView([](RestoreView &view) {
        view.setRestoreButtonEnabled(false);
        view.setDestinationButtonEnabled(false);
    });
    OnlineLogController::SharedOnlineLogController().SetSessionPath(OnlineLogController::userSessionUploadPath());
    mHost.setOperationActive(true);
    mHost.setRestoreRunning(true);
}

void RestoreController::operationElapsedTimeString(const QString &elapsed)
{
    mProgressViewController.setElapsedTime(elapsed);
}

void RestoreController::operationDidReceiveData(const ProgressReport &report, SessionDriver *)
{
    mProgressViewController.setHiddenPauseAndStopButton(false);
    mProgressViewController.setHiddenPauseButton(true);
    mHost.setOperationActive(true);
    if (report.has(ProgressReport::Percentage)) {
        mProgressViewController.setPercentage(report.value(ProgressReport::Percentage));
        mHost.setRestoreMiniPercentage(QStringLiteral("%1 %").arg(report.value(ProgressReport::Percentage)));
    }
    if (report.has(ProgressReport::EstimatedTime))
        mProgressViewController.setEstimatedTime(report.value(ProgressReport::EstimatedTime));
    mProgressViewController.showTransfer(report, QStringLiteral("Restore progress"));
    if (report.has(ProgressReport::Filename))
        mTotalFileCount = report.value(ProgressReport::TotalFileCount).toInt();
    if (report.isDone() && mSessionLog)
        mSessionLog->fileDone(report.value(ProgressReport::TansferMode), report.value(ProgressReport::Filename),
                              report.value(ProgressReport::Filesize));
}

void RestoreController::operationStartedRetrying(SessionDriver *)
{
    mProgressViewController.setFilePath(QStringLiteral("Retrying..."));
}

void RestoreController::operationDidReceiveErrors(const QString &errors, const QString &, SessionDriver *)
{
    if (mSessionLog)
        mSessionLog->errorsReceived(errors);
}

RestoreSessionLog::Counts RestoreController::counts() const
{
    return {mTotalFileCount, int(mDriver->incSuccessFileCount()), int(mDriver->succesFileCount())};
}

void RestoreController::endCommon()
{
    toggleProgressView(mProgressViewController, true);
    mDriver->setRunningState(false);
    mHost.setRestoreMiniProgressHidden(true);
    // Every end gives both pages their controls back, a cancel too.
    forEachView([](RestoreView &view) {
        view.setRestoreButtonEnabled(true);
        view.setDestinationButtonEnabled(true);
    });
    mHost.setOperationActive(false);
    mHost.setRestoreRunning(false);
    // The sidebar's box no longer stands for a restore of the search results.
    mHost.setSearchInProgress(false);
}

void RestoreController::record(const QString &endTime, const RestoreSessionLog::Counts &counts)
{
    if (mSessionLog)
        mHost.sendSessionLogInformation(mSessionLog->report(endTime, counts));
}

void RestoreController::reapplyXattributes()
{
    // Only the Restore page's restores put the attributes back.
    if (!mServices.resetXattributes || mRunningPage != Page::Restore)
        return;
    QList<RestoredXattrs::Item> items;
    for (const QString &path : std::as_const(mRestoreFilesList))
        items.append({RestoreRules::restoredLocation(mDestination, path, mRestoreComputerFolder),
                      mDriver->DestinationPath() + QLatin1Char('/') + path});
    RestoredXattrs::searchXattributesIn(items, mServices.resetXattributes);
}

void RestoreController::operationDidFinishSuccessfully(SessionDriver *)
{
    mProgressViewController.setProgressStatus(QStringLiteral("Restore completed successfully"));
    endCommon();
    const QString endTime = QLUtility::getSessionLogTime();
    const RestoreSessionLog::Counts ended = counts();
    if (mSessionLog)
        mSessionLog->succeeded(endTime, ended);
    OnlineLogController::SharedOnlineLogController().setOperationStatus(QStringLiteral("Success"));
    // The attributes and the day's record come before the message, which waits for the user.
    reapplyXattributes();
    record(endTime, ended);
    AlertRequest done;
    done.title = restoreAlertTitle();
    done.message = QLLocalizedString(QStringLiteral(
        "Restore operation has been completed successfully. Click the 'View' button to view the restored item(s)."));
    done.defaultButton = QLLocalizedString(QStringLiteral("View"));
    done.alternateButton = QLLocalizedString(QStringLiteral("OK"));
    if (mAlerts.runModalAlert(done) == AlertPresenter::kAnswerDefault)
        mWorkspace.openFolder(mDestination);
}

void RestoreController::operationDidFailWithError(const QString &message, SessionDriver *)
{
    endCommon();
    const QString endTime = QLUtility::getSessionLogTime();
    const RestoreSessionLog::Counts ended = counts();
    if (mSessionLog)
        mSessionLog->failed(message, endTime, ended);
    OnlineLogController::SharedOnlineLogController().setOperationStatus(QStringLiteral("Failure"));
    record(endTime, ended);
}

void RestoreController::operationDidCancel(SessionDriver *)
{
    endCommon();
    OnlineLogController::SharedOnlineLogController().setOperationStatus(QStringLiteral("Cancelled"));
    const QString endTime = QLUtility::getSessionLogTime();
    const RestoreSessionLog::Counts ended = counts();
    if (mSessionLog)
        mSessionLog->cancelled(endTime, ended);
    record(endTime, ended);
}

void RestoreController::operationDidFailWithOverQuota(const QString &message)
{
    endCommon();
    const QString endTime = QLUtility::getSessionLogTime();
    const RestoreSessionLog::Counts ended = counts();
    if (mSessionLog)
        mSessionLog->overQuota(message, endTime, mTotalFileCount);
    OnlineLogController::SharedOnlineLogController().setOperationStatus(QStringLiteral("Failure"));
    record(endTime, ended);
}
