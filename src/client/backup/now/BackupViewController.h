#pragma once

#include "client/backup/logs/BackupSessionLog.h"
#include "client/common/progress/ProgressViewController.h"
#include "client/common/progress/ProgressViewDelegateProtocol.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"
#include "session/manager/SessionDriver.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class AlertPresenter;
class BackupTreeActions;
class BackupView;
class BackupViewMainController;

struct BackupViewTimings
{
    // From the end of a backup or cleanup to the quota's new measurement.
    std::chrono::milliseconds quotaDelay{5000};
    ProgressPaneTimings progress;
};

// The Backup tab: Backup Now with its checks and questions, the start of one
// backup session with the destination folder and engine of the brand, mode and
// account, the session's progress in the progress pane and the sidebar, the
// session log, and the four ends of a session with their follow-ups. It is the
// session driver's listener and the progress pane's owner.
class BackupViewController : public QObject,
                             public RuvoBackupRestoreHandlerProtocol,
                             public ProgressViewDelegateProtocol
{
    Q_OBJECT

public:
    using Timings = BackupViewTimings;
    // What runs after a backup that was not cancelled (the extended attributes of Time Machine databases).
    using FollowUp = std::function<void(const SessionDriver &)>;

    BackupViewController(BackupViewMainController &mainController, AlertPresenter &alerts,
                         SessionDriver::Factory makeDriver, Timings timings = {}, QObject *parent = nullptr);
    ~BackupViewController() override;

    void setView(BackupView *view) { mView = view; }
    void setFileSystemObject(BackupTreeActions *tree) { mFileSysController = tree; }
    void setFollowUp(FollowUp followUp) { mFollowUp = std::move(followUp); }

    ProgressViewController &progressViewController() { return mProgressViewController; }
    SessionDriver *mBackupManager() const { return mDriver.get(); }
    QString mBackupSessionFilePath() const override { return mSessionFilePath; }
    QString backupSetFilePath() const { return mBackupSetFilePath; }
    int mTotalFileCount() const { return mTotalFiles; }

    // A fresh session driver when the account, mode, computer folder or drive changed
    // (start-up, account change, destination change); none before a login. While a
    // session runs, the change waits for its end.
    void backupInitialise();
    void backupNow();
    bool isBackupRunning() const;
    // Enables Backup Now unless the account was disconnected.
    void setBackupNowButtonState();
    // The local tree saved the set file of the mode.
    void BackupSetSavedAtPath(const QString &path);
    // The paths of the saved set; empty when there is none.
    QStringList backupSet() const;
    void setControlsStatus(bool enabled);

    // --- Panes ---
    void showProgressView();
    void showBackupsetView();

    // --- ProgressViewDelegateProtocol ---
    void toggleProgressView(ProgressViewController &pane, bool hidden) override;
    void pauseProcess(ProgressViewController &pane) override;
    void resumeProcess(ProgressViewController &pane) override;
    void stopProcess(ProgressViewController &pane) override;

    // --- RuvoBackupRestoreHandlerProtocol ---
    void operationDidStart(SessionDriver *) override;
    void backupsetSizeCalculationDidFinishSuccessfully() override;
    void operationElapsedTimeString(const QString &elapsed) override;
    void operationDidReceiveData(const ProgressReport &report, SessionDriver *) override;
    void operationStartedRetrying(SessionDriver *) override;
    void operationDidReceiveErrors(const QString &errors, const QString &file, SessionDriver *) override;
    void operationDidFinishSuccessfully(SessionDriver *) override;
    void operationDidFailWithError(const QString &message, SessionDriver *) override;
    void operationDidFailWithOverQuota(const QString &message) override;
    void operationDidCancel(SessionDriver *) override;

signals:
    // The set file was saved: the set list of the mode reads it again; it
    // redraws at once unless the progress pane stands in its place.
    void backupSetSaved(const QString &path, bool redrawList);
    // Enables or disables the tree and the set lists with the tab's controls.
    void controlsStatusChanged(bool enabled);
    // A session started, or its end is over.
    void backupRunningChanged(bool running);

private:
    // Backup Now's checks and questions; the selection to back up, or none when refused.
    std::optional<QStringList> confirmBackup();
    bool destinationIsUsable(const QString &volumeName, const QString &volumePath);
    void alertNoAccess();
    bool destinationOutsideSet(const QString &volumeName, const QString &volumePath);
    std::optional<QStringList> selectionOrDefaultSet();
    QStringList selection() const;
    void startSession(const QStringList &selection);

    void alert(const QString &text, const QString &title = {}, const QString &image = {});
    bool ask(const QString &text);
    BackupSessionLog::Counts counts() const;
    void hideProgress();
    void restoreControls();
    void scheduleQuota();
    void report(const QString &endTime);
    // The end's message with the "View Log" button; nothing when there is no message.
    void offerLog(const QString &message);
    void runFollowUp();
    void endSession(const QString &status);

    BackupViewMainController &mMainController;
    AlertPresenter &mAlerts;
    SessionDriver::Factory mMakeDriver;
    Timings mTimings;
    BackupView *mView = nullptr;
    BackupTreeActions *mFileSysController = nullptr;
    FollowUp mFollowUp;
    ProgressViewController mProgressViewController;
    std::unique_ptr<SessionDriver> mDriver;
    QStringList mDriverFor;  // the account, folders, drive and mode the driver was made for
    bool mInitialiseAfterSession = false;
    QLBackupProgressLogger mSyncUpLogger;
    std::unique_ptr<BackupSessionLog> mSessionLog;
    QString mSessionFilePath;
    QString mBackupSetFilePath;
    QString mCurrentDestinationDrive;
    QStringList mSelection;
    int mTotalFiles = 0;
    bool shouldDisplayBackupPercentage = false;
};
