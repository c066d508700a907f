#include "client/backup/cleanup/ArchiveCleanupController.h"

#include "client/backup/cleanup/ArchiveCleanupIndex.h"
#include "client/backup/cleanup/ArchiveCleanupRules.h"
#include "client/backup/cleanup/ArchiveCleanupView.h"
#include "client/backup/now/BackupViewMainController.h"
#include "client/common/destination/BackupDestination.h"
#include "common/account/User.h"
#include "common/logging/OnlineLogController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "desktop/alerts/AlertPresenter.h"
#include "desktop/logs/SessionLogsFolder.h"

#include <QDateTime>
#include <QSet>
#include <QTimer>

namespace {

const QString kShareNotice = QStringLiteral(
    "\u2018Cleanup Now\u2019 operation has been aborted because we prevent the cleanup process when the number of "
    "files "
    "considered for cleanup is more than a certain percentage of the total number of files in your backup set. This "
    "is to avoid inadvertent data loss in case of an unexpected event on your computer. For \u2018Cleanup Now\u2019, "
    "this percentage is set to 25% by default.");

}  // namespace

ArchiveCleanupController::ArchiveCleanupController(BackupViewMainController &mainController, AlertPresenter &alerts,
                                                   BackupTab backupTab, ArchiveCleanupTimings timings, QObject *parent)
    : QObject(parent)
    , mMainController(mainController)
    , mAlerts(alerts)
    , mBackupTab(std::move(backupTab))
    , mTimings(timings)
{
    connect(this, &ArchiveCleanupController::scanFinished, this, &ArchiveCleanupController::scanEnded,
            Qt::QueuedConnection);
}

ArchiveCleanupController::~ArchiveCleanupController() { stopScan(); }

void ArchiveCleanupController::alert(const QString &text, bool modal)
{
    AlertRequest request;
    request.title = QLLocalizedString(QStringLiteral("ApplicationName"));
    request.message = text;
    request.defaultButton = QStringLiteral("OK");
    if (modal)
        mAlerts.runModalAlert(request);
    else
        mAlerts.showAlert(request);
}

QString ArchiveCleanupController::computerFolder() const
{
    // As the index manager forms its paths: with the main controller's folder only.
    const QString folder = mMainController.mpcName();
    return folder.size() > 1 ? folder : QString();
}

void ArchiveCleanupController::onSync()
{
    if (mMainController.isReIndexInProgress()) {
        alert(QStringLiteral("Unable to proceed as database re-indexing is underway."), true);
        return;
    }
    if (mListWindowOpen || mMessageWindowOpen) {
        // Only one cleanup at a time: its open window comes forward.
        if (mView && mListWindowOpen)
            mView->showListWindow(mView->listText());
        else if (mView)
            mView->showMessageWindow();
        return;
    }
    if (mBackupTab.backupSet().isEmpty()) {
        alert(QStringLiteral("Unable to proceed as your backup set is empty"), false);
        return;
    }
    if (mBackupTab.isBackupRunning()) {
        alert(QStringLiteral("Backup is underway. Try later."), false);
        return;
    }
    mMessageWindowOpen = true;
    if (mView)
        mView->showMessageWindow();
}

void ArchiveCleanupController::continueSync()
{
    if (isScanning())
        return;
    stopScan();
    mScanCancelled = false;
    mScanEnded = false;
    if (mView)
        mView->setPreparingListShown(true);
    QStringList setPaths = mBackupTab.backupSet();
    setPaths.removeDuplicates();
    mScanThread = std::thread([this, setPaths, folder = computerFolder()] { checkForFilesToDelete(setPaths, folder); });
}

void ArchiveCleanupController::checkForFilesToDelete(const QStringList &setPaths, const QString &folder)
{
    QStringList entries;
    bool indexRead = mIndex != nullptr;
    for (const QString &path : setPaths) {
        if (mScanCancelled || !indexRead)
            break;
        const std::optional<QStringList> found = mIndex->getAllEntriesFromMainDBWithPathLike(folder + path);
        indexRead = found.has_value();
        entries += found.value_or(QStringList());
    }
    // An unreadable index finds nothing, rather than a part of what is stored.
    const QStringList found =
        indexRead ? ArchiveCleanupRules::candidatesForCleanup(entries, folder, [this] { return mScanCancelled.load(); })
                  : QStringList();
    mScanEnded = true;
    emit scanFinished(found, entries.size(), mScanCancelled, indexRead);
}

void ArchiveCleanupController::stopScan()
{
    mScanCancelled = true;
    if (mScanThread.joinable())
        mScanThread.join();
}

void ArchiveCleanupController::messageWindowClosed()
{
    mMessageWindowOpen = false;
    mScanCancelled = true;
}

void ArchiveCleanupController::scanEnded(const QStringList &found, qsizetype entryCount, bool cancelled, bool indexRead)
{
    stopScan();
    if (mView) {
        mView->setPreparingListShown(false);
        mView->closeMessageWindow();
    }
    mMessageWindowOpen = false;
    if (cancelled)
        return;
    mCandidates = found;
    if (!indexRead) {
        alert(QStringLiteral("Unable to proceed as the index of your backup drive cannot be read."), true);
    } else if (found.isEmpty()) {
        alert(QStringLiteral("There are no items to delete."), true);
    } else if (ArchiveCleanupRules::isShareTooLarge(found.size(), entryCount)) {
        alert(QStringLiteral("%1\n\nTotal files in your backup set: %2\nTotal files listed for deletion: %3")
                  .arg(kShareNotice)
                  .arg(entryCount)
                  .arg(found.size()),
              false);
    } else {
        mListWindowOpen = true;
        if (mView)
            mView->showListWindow(found.join('\n'));
    }
}

void ArchiveCleanupController::sync()
{
    if (!mDeleter || !mView)
        return;
    const QStringList items = ArchiveCleanupRules::acceptedItems(mView->listText(), mCandidates);
    if (items.isEmpty()) {
        alert(QStringLiteral("There are no items to delete."), true);
        return;
    }
    AlertRequest question;
    question.title = QLLocalizedString(QStringLiteral("ApplicationName"));
    question.message = QStringLiteral("Would you like to delete the listed item(s)?");
    question.defaultButton = QStringLiteral("Yes");
    question.alternateButton = QStringLiteral("No");
    if (mAlerts.runModalAlert(question) != AlertPresenter::kAnswerDefault)
        return;
    const QString accountFolder =
        BackupDestination::accountFolder(BackupDestination::volumePath(mMainController.currentDestinationDrive()),
                                         mMainController.userObject(), mMainController.isAppInBackupMode());
    if (accountFolder.isEmpty()) {
        // Without a drive and account the engine would be told to delete relative to nowhere.
        alert(QStringLiteral("Please select destination drive."), true);
        return;
    }
    mSessionLog =
        std::make_unique<ArchiveCleanupSessionLog>(SessionLogsFolder::fromApplicationFiles().newSessionLogPath(
                                                       QStringLiteral("Archive Cleanup"), QDateTime::currentDateTime()),
                                                   mSyncDeleteLogger);
    mSessionLog->confirmed(mMainController.userObject().UserName(), QLUtility::getSessionLogTime());
    mTotalFiles = int(items.size());
    const QString folder = computerFolder();
    QStringList indexPaths;
    for (const QString &item : items)
        indexPaths.append(folder + item);
    mDeleter->startDelete(accountFolder, folder, indexPaths, *this);
}

void ArchiveCleanupController::deleteDidStart()
{
    if (mView)
        mView->setDeletingShown(true);
    mDeletedCount = 0;
    OnlineLogController &online = OnlineLogController::SharedOnlineLogController();
    online.setOperationStartTime(QLUtility::getSessionLogTime());
    online.setOperationStatus(QStringLiteral("Success"));
    online.SetOperationSessionFile(QString());
    online.SetSessionPath(OnlineLogController::userSessionUploadPath());
}

void ArchiveCleanupController::deleteDidReceiveData(const QStringList &deletedPaths)
{
    mDeletedCount += int(deletedPaths.size());
    for (const QString &path : deletedPaths) {
        if (mSessionLog)
            mSessionLog->itemDeleted(path);
        if (mIndex)
            mIndex->addFileToDelete(path);
    }
}

void ArchiveCleanupController::deleteDidReceiveErrors(const QString &error, const QString &)
{
    // The item is still on the drive, so the index keeps it.
    if (mSessionLog)
        mSessionLog->itemFailed(error);
}

void ArchiveCleanupController::report(const QString &endTime)
{
    if (mSessionLog)
        mMainController.sendSessionLogInformation(mSessionLog->report(endTime, mTotalFiles));
}

void ArchiveCleanupController::deletionEnded()
{
    if (mView) {
        mView->setDeletingShown(false);
        mView->closeListWindow();
    }
    mListWindowOpen = false;
    QTimer::singleShot(mTimings.quotaDelay, this, [this] { mMainController.calQuota(); });
}

void ArchiveCleanupController::deleteDidFinishSuccessfully()
{
    const QString endTime = QLUtility::getSessionLogTime();
    if (mSessionLog)
        mSessionLog->succeeded(endTime);
    OnlineLogController::SharedOnlineLogController().setOperationStatus(QStringLiteral("Success"));
    report(endTime);
    deletionEnded();
    // The list window closes: the user is told what became of the items.
    alert(QStringLiteral("\u2018Cleanup Now\u2019 has removed %1 item(s) from your backup drive.").arg(mDeletedCount),
          false);
}

void ArchiveCleanupController::deleteDidFailWithError(const QString &error)
{
    if (!error.isEmpty()) {
        const QString endTime = QLUtility::getSessionLogTime();
        if (mSessionLog)
            mSessionLog->failed(error, endTime);
        OnlineLogController::SharedOnlineLogController().setOperationStatus(QStringLiteral("Failure"));
        report(endTime);
    }
    deletionEnded();
}

void ArchiveCleanupController::deleteDidCancel()
{
    const QString endTime = QLUtility::getSessionLogTime();
    if (mSessionLog)
        mSessionLog->cancelled(endTime);
    OnlineLogController::SharedOnlineLogController().setOperationStatus(QStringLiteral("Cancelled"));
    report(endTime);
}
