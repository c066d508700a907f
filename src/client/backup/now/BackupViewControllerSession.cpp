// The backup session as the Backup tab follows it: start, progress and the four ends.
#include "client/backup/now/BackupViewController.h"

#include "client/backup/now/BackupEndRules.h"
#include "client/backup/now/BackupView.h"
#include "client/backup/now/BackupViewMainController.h"
#include "common/account/User.h"
#include "common/files/ApplicationStatusFile.h"
#include "common/logging/OnlineLogController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/transfer/ProgressReport.h"
#include "common/utility/QLUtility.h"
#include "desktop/alerts/AlertPresenter.h"

#include <QTimer>

#include <utility>

void BackupViewController::operationDidStart(SessionDriver *)
{
    shouldDisplayBackupPercentage = false;
    mMainController.setBackupMiniPercentage(QString());
    mProgressViewController.startIndeterminateProgressIndicator();
    mProgressViewController.onOperationStart();
    mMainController.setOperationActive(true);
    if (mView) {
        mView->setBackupButtonEnabled(false);
        mView->setVolumeChooserEnabled(false);
    }
    const QString startTime = QLUtility::getSessionLogTime();
    OnlineLogController &onlineLog = OnlineLogController::SharedOnlineLogController();
    onlineLog.SetSessionPath(OnlineLogController::userSessionUploadPath());
    onlineLog.setOperationStartTime(startTime);
    if (mSessionLog)
        mSessionLog->operationDidStart(mMainController.userObject().UserName(), startTime, mCurrentDestinationDrive,
                                       mSelection);
}

void BackupViewController::backupsetSizeCalculationDidFinishSuccessfully()
{
    mProgressViewController.setMessage(QString());
    mProgressViewController.stopIndeterminateProgressIndicator();
    shouldDisplayBackupPercentage = true;
}

void BackupViewController::operationElapsedTimeString(const QString &elapsed)
{
    mProgressViewController.setElapsedTime(elapsed);
}

void BackupViewController::operationDidReceiveData(const ProgressReport &report, SessionDriver *)
{
    mProgressViewController.setHiddenPauseAndStopButton(false);
    mMainController.setOperationActive(true);
    if (report.isEmpty())
        return;
    if (report.has(ProgressReport::Percentage)) {
        if (shouldDisplayBackupPercentage) {
            const QString percentage = report.value(ProgressReport::Percentage);
            mProgressViewController.setPercentage(percentage);
            mMainController.setBackupMiniPercentage(QStringLiteral("%1 %").arg(percentage));
            mProgressViewController.setMessage(QString());
        } else {
            mProgressViewController.setMessage(QStringLiteral("File scanning is in progress..."));
        }
    }
    if (shouldDisplayBackupPercentage && report.has(ProgressReport::EstimatedTime))
        mProgressViewController.setEstimatedTime(report.value(ProgressReport::EstimatedTime));
    mProgressViewController.showTransfer(report, QStringLiteral("Backup progress"));
    if (report.has(ProgressReport::Filename))
        mTotalFiles = report.value(ProgressReport::TotalFileCount).toInt();
    // The session itself queues the stored file for the drive's index.
    if (report.isDone() && mSessionLog)
        mSessionLog->fileDone(report.value(ProgressReport::TansferMode), report.value(ProgressReport::Filename),
                              report.value(ProgressReport::Filesize));
}

void BackupViewController::operationStartedRetrying(SessionDriver *)
{
    mProgressViewController.setFilePath(QStringLiteral("Retrying..."));
}

void BackupViewController::operationDidReceiveErrors(const QString &errors, const QString &, SessionDriver *)
{
    if (mSessionLog)
        mSessionLog->errorsReceived(errors);
}

BackupSessionLog::Counts BackupViewController::counts() const
{
    return {mTotalFiles, int(mDriver->incSuccessFileCount()), int(mDriver->succesFileCount())};
}

void BackupViewController::hideProgress() { toggleProgressView(mProgressViewController, true); }

void BackupViewController::restoreControls()
{
    mMainController.setBackupMiniProgressHidden(true);
    mDriver->setRunningState(false);
    emit backupRunningChanged(false);
    if (mView) {
        mView->setBackupPathLabelHidden(false);
        mView->setVolumeChooserEnabled(true);
    }
    // A change of account or drive during the session: the driver is replaced once the
    // session's end, still reading it, is over.
    if (std::exchange(mInitialiseAfterSession, false))
        QMetaObject::invokeMethod(this, &BackupViewController::backupInitialise, Qt::QueuedConnection);
}

void BackupViewController::scheduleQuota()
{
    mMainController.indexQueuedFilesNow();
    QTimer::singleShot(mTimings.quotaDelay, this, [this] { mMainController.calQuota(); });
}

void BackupViewController::report(const QString &endTime)
{
    if (mSessionLog)
        mMainController.sendSessionLogInformation(mSessionLog->report(endTime, counts()));
}

void BackupViewController::offerLog(const QString &text)
{
    if (text.isEmpty())
        return;
    AlertRequest message;
    message.title = QLLocalizedString(QStringLiteral("ApplicationName"));
    message.message = text;
    message.defaultButton = QStringLiteral("View Log");
    message.alternateButton = QStringLiteral("OK");
    if (mAlerts.runModalAlert(message) == AlertPresenter::kAnswerDefault)
        mMainController.displayLogView();
}

void BackupViewController::runFollowUp()
{
    if (mFollowUp)
        mFollowUp(*mDriver);
}

void BackupViewController::endSession(const QString &status)
{
    ApplicationStatusFile::setEntry(ApplicationStatusFile::kIneractiveBackupStatusKey, QString());
    OnlineLogController::SharedOnlineLogController().setOperationStatus(status);
}

void BackupViewController::operationDidFinishSuccessfully(SessionDriver *)
{
    const QString endTime = QLUtility::getSessionLogTime();
    mProgressViewController.setProgressStatus(QStringLiteral("Backup completed successfully"));
    hideProgress();
    mMainController.setOperationActive(false);
    if (mSessionLog)
        mSessionLog->finishedSuccessfully(endTime, counts(), mDriver->isExcludedFromBackupSet(),
                                          int(mDriver->excludedFilesCount()));
    restoreControls();
    runFollowUp();
    endSession(QStringLiteral("Success"));
    report(endTime);
    if (mDriver->succesFileCount() != 0)
        mMainController.setDisplayRefreshGuide(true);
    scheduleQuota();
    mDriver->removeTempFilePaths();
    offerLog(BackupEndRules::endMessage(BackupEndRules::End::Success, mDriver->failureFileCount(), QString()));
    setBackupNowButtonState();
}

void BackupViewController::operationDidFailWithError(const QString &message, SessionDriver *)
{
    if (mSessionLog)
        mSessionLog->failed(message, int(mDriver->failureFileCount()), counts());
    hideProgress();
    restoreControls();
    setBackupNowButtonState();
    mMainController.setOperationActive(false);
    scheduleQuota();
    runFollowUp();
    endSession(QStringLiteral("Failure"));
    const QString endTime = QLUtility::getSessionLogTime();
    if (mSessionLog)
        mSessionLog->failedSessionEnded(endTime);
    report(endTime);
    mDriver->removeTempFilePaths();
    offerLog(BackupEndRules::endMessage(BackupEndRules::End::Failure, mDriver->failureFileCount(), message));
}

void BackupViewController::operationDidCancel(SessionDriver *)
{
    hideProgress();
    mMainController.setOperationActive(false);
    restoreControls();
    setBackupNowButtonState();
    endSession(QStringLiteral("Cancelled"));
    const QString endTime = QLUtility::getSessionLogTime();
    if (mSessionLog)
        mSessionLog->cancelled(endTime, counts());
    report(endTime);
}

void BackupViewController::operationDidFailWithOverQuota(const QString &)
{
    // The day file's record tells this session's status, not the previous one's;
    // and the backup is over before the user answers the alert.
    endSession(QStringLiteral("Failure"));
    AlertRequest message;
    message.title = QLLocalizedString(QStringLiteral("Quota Exceeded"));
    message.message = QLLocalizedString(
        QStringLiteral("You have utilized the allocated storage space. For further backups, upgrade your account."));
    message.defaultButton = QLLocalizedString(QStringLiteral("Upgrade"));
    message.alternateButton = QLLocalizedString(QStringLiteral("Continue"));
    if (mAlerts.runModalAlert(message) == AlertPresenter::kAnswerDefault)
        mMainController.upgrade();
    hideProgress();
    mMainController.setBackupMiniProgressHidden(true);
    mMainController.setOperationActive(false);
    const QString endTime = QLUtility::getSessionLogTime();
    if (mSessionLog)
        mSessionLog->overQuota(endTime);
    restoreControls();
    setBackupNowButtonState();
    runFollowUp();
    scheduleQuota();
    report(endTime);
}
