#pragma once

#include "client/browser/restore/RestoreSessionLog.h"
#include "client/browser/restore/RestoredXattrs.h"
#include "client/common/progress/ProgressViewController.h"
#include "client/common/progress/ProgressViewDelegateProtocol.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"
#include "session/manager/SessionDriver.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class AlertPresenter;
class BrowserHost;
class FolderChooser;
class RemoteTreeController;
class RestoreView;
class VersionBrowser;
class Workspace;

// The restore of the Restore page: the destination (saved, chosen, or asked for
// before each restore), the Restore button's checks, the start of one restore
// session of the checked items, its progress in the pane and the sidebar, its
// session log and summary, and its four ends. One restore runs at a time,
// counting the program's version restore.
class RestoreController : public QObject, public RuvoBackupRestoreHandlerProtocol, public ProgressViewDelegateProtocol
{
    Q_OBJECT

public:
    struct Services
    {
        SessionDriver::Factory makeDriver;
        // Puts back the attributes of a restored Time Machine database.
        RestoredXattrs::Reset resetXattributes;
    };

    static inline const QString kReIndexText = QStringLiteral("Unable to proceed as database re-indexing is underway.");
    static inline const QString kNoDataRootText =
        QStringLiteral("Your backed-up items cannot be shown: no backup drive is selected, or no user is logged in.");

    RestoreController(BrowserHost &host, AlertPresenter &alerts, FolderChooser &chooser, Workspace &workspace,
                      RemoteTreeController &tree, Services services, ProgressPaneTimings paneTimings = {},
                      QObject *parent = nullptr);
    ~RestoreController() override;

    void setView(RestoreView *view) { mView = view; }
    // The page's version pane: Restore restores the version selected there.
    void setVersionBrowser(VersionBrowser *versions) { mVersions = versions; }
    ProgressViewController &progressViewController() { return mProgressViewController; }
    SessionDriver *mRestoreManager() const { return mDriver.get(); }
    QString mRestoreSessionFilePath() const override { return mSessionLog ? mSessionLog->sessionLogPath() : QString(); }

    // A fresh driver for the account and drive (login, account or drive change); none without a data root.
    void restoreInitialise();
    // Shows the saved destination, else the default.
    void setRestoreDestinationUI();
    QString restoreDestination() const { return mDestination; }
    void setRestoreDestination(const QString &path);
    // Hides the destination controls while the user is asked at every restore. The
    // monitor's message brings the preference as "%d"; none or "" reads it from the preferences.
    void canHideBrowseButton(const std::optional<bool> &prompt = std::nullopt);
    void canHideBrowseButton(const QString &monitorValue);

    // The destination button and the path label: choose a destination.
    void openPanel();
    // The Restore button.
    void RstoreFileFromServer();
    // Starts the restore of the checked items into the destination, without asking.
    void restoreFiles();
    bool isRestoreRunning() const;
    // The sidebar's restore box: the pane comes forward.
    void showProgressView();
    // Disconnect or quit.
    void stopAllOperations();

    // The program's version restore, started from this page, shows in its pane and buttons.
    void versionRestoreDidStart();
    void versionRestoreDidReceiveData(const ProgressReport &report);
    void versionRestoreDidEnd();

    // --- ProgressViewDelegateProtocol ---
    void toggleProgressView(ProgressViewController &pane, bool hidden) override;
    void pauseProcess(ProgressViewController &) override {}
    void resumeProcess(ProgressViewController &) override {}
    void stopProcess(ProgressViewController &pane) override;

    // --- RuvoBackupRestoreHandlerProtocol ---
    void operationDidStart(SessionDriver *) override;
    void operationElapsedTimeString(const QString &elapsed) override;
    void operationDidReceiveData(const ProgressReport &report, SessionDriver *) override;
    void operationStartedRetrying(SessionDriver *) override;
    void operationDidReceiveErrors(const QString &errors, const QString &file, SessionDriver *) override;
    void operationDidFinishSuccessfully(SessionDriver *) override;
    void operationDidFailWithError(const QString &message, SessionDriver *) override;
    void operationDidFailWithOverQuota(const QString &message) override;
    void operationDidCancel(SessionDriver *) override;

private:
    QString dataRoot();
    QString executorPath();
    bool promptsForDestination();
    // Asks until a writable folder is chosen; none for Cancel.
    std::optional<QString> chooseWritableFolder(bool withPromptBox);
    // The prompt's box: ticked means "do not prompt" again.
    void finalRestoreDestinationPath(bool ticked);
    void useDestination(const QString &folder);
    void inform(const QString &text);
    RestoreSessionLog::Counts counts() const;
    // What every end does first.
    void endCommon();
    void record(const QString &endTime, const RestoreSessionLog::Counts &counts);
    void reapplyXattributes();
    bool isVersionSelected() const;

    BrowserHost &mHost;
    AlertPresenter &mAlerts;
    FolderChooser &mChooser;
    Workspace &mWorkspace;
    RemoteTreeController &mTree;
    Services mServices;
    RestoreView *mView = nullptr;
    VersionBrowser *mVersions = nullptr;
    ProgressViewController mProgressViewController;
    std::unique_ptr<SessionDriver> mDriver;
    QLBackupProgressLogger mSyncDownLogger;
    std::unique_ptr<RestoreSessionLog> mSessionLog;
    QString mDestination;
    QStringList mRestoreFilesList;
    QString mRestoreComputerFolder;  // of the running restore, as the index names it
    int mTotalFileCount = 0;
};
