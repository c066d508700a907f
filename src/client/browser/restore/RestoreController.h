#pragma once

#include "client/browser/restore/RestoreRules.h"
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

#include <array>
#include <memory>
#include <optional>

class AlertPresenter;
class BrowserHost;
class FolderChooser;
class RemoteTreeController;
class ProgressView;
class RestoreView;
class VersionBrowser;
class Workspace;

// The restore of the Restore page: the destination (saved, chosen, or asked for
// before each restore), the Restore button's checks, the start of one restore
// session of the checked items, its progress in the pane and the sidebar, its
// session log and summary, and its four ends. The search results restore
// through it too, over the same driver and destination, so one restore runs at
// a time on both pages, counting the program's version restore; the page that
// started a restore shows its pane, and both pages' controls wait for its end.
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
    static inline const QString kRestoreRunningText =
        QStringLiteral("Unable to proceed as another instance of the restore operation is underway.");
    static inline const QString kNoDataRootText =
        QStringLiteral("Your backed-up items cannot be shown: no backup drive is selected, or no user is logged in.");

    RestoreController(BrowserHost &host, AlertPresenter &alerts, FolderChooser &chooser, Workspace &workspace,
                      RemoteTreeController &tree, Services services, ProgressPaneTimings paneTimings = {},
                      QObject *parent = nullptr);
    ~RestoreController() override;

    // The Restore page's controls and its progress pane's widgets.
    void setView(RestoreView *view, ProgressView *pane = nullptr) { setPageViews(Page::Restore, view, pane); }
    // The search results' page, which restores through this controller too.
    void setSearchView(RestoreView *view, ProgressView *pane) { setPageViews(Page::Search, view, pane); }
    // A page's version pane: that page's Restore restores the version selected there.
    void setVersionBrowser(VersionBrowser *versions, RestoreSessionLog::Page page = RestoreSessionLog::Page::Restore)
    {
        mPages[pageIndex(page)].versions = versions;
    }
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
    // What a Restore button does with the items a page picked: refused while the index is
    // rebuilt or a restore runs, the nothingSelectedText for no item (none: nothing is said),
    // then the prompt or the
    // question before the default destination, and the restore.
    void restoreItems(const RestoreRules::Selection &selection, RestoreSessionLog::Page page,
                      const QString &nothingSelectedText);
    // Starts the restore of the checked items into the destination, without asking.
    void restoreFiles();
    using Page = RestoreSessionLog::Page;
    // Starts a restore of the given items into the destination, without asking, with the
    // page's own session-log wording; false when no restore can start (no drive or one runs).
    bool restoreSelection(const RestoreRules::Selection &selection, Page page);
    bool isRestoreRunning() const;
    // The sidebar's restore box: the pane comes forward.
    void showProgressView();
    // Disconnect or quit.
    void stopAllOperations();

    // The program's version restore, started from this page, shows in its pane and buttons.
    void versionRestoreDidStart(Page page = Page::Restore);
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
    struct PageViews
    {
        RestoreView *view = nullptr;
        ProgressView *pane = nullptr;
        VersionBrowser *versions = nullptr;
    };
    static constexpr size_t pageIndex(Page page) { return page == Page::Restore ? 0 : 1; }
    void setPageViews(Page page, RestoreView *view, ProgressView *pane)
    {
        mPages[pageIndex(page)].view = view;
        mPages[pageIndex(page)].pane = pane;
    }
    // The page's pane and controls follow the restore it starts.
    void beginRunOf(Page page);
    // Every page's controls, for what both show.
    template <class Change>
    void forEachView(Change &&change);
    RestoreView *runningView() const { return mPages[pageIndex(mRunningPage)].view; }

    // The checked items of the tree.
    RestoreRules::Selection treeSelection() const;
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
    bool isVersionSelected(Page page) const;

    BrowserHost &mHost;
    AlertPresenter &mAlerts;
    FolderChooser &mChooser;
    Workspace &mWorkspace;
    RemoteTreeController &mTree;
    Services mServices;
    std::array<PageViews, 2> mPages;
    Page mRunningPage = Page::Restore;  // the page that started the last restore
    ProgressViewController mProgressViewController;
    std::unique_ptr<SessionDriver> mDriver;
    QLBackupProgressLogger mSyncDownLogger;
    std::unique_ptr<RestoreSessionLog> mSessionLog;
    QString mDestination;
    QStringList mRestoreFilesList;
    QString mRestoreComputerFolder;  // of the running restore, as the index names it
    int mTotalFileCount = 0;
};
