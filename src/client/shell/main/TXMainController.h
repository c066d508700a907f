#pragma once

#include "client/shell/account/QuotaReport.h"
#include "client/shell/login/LoginViewController.h"
#include "client/shell/login/LoginViewControllerDelegateProtocol.h"
#include "client/shell/main/IndexWorker.h"
#include "common/account/User.h"
#include "common/messaging/IPCMessageDelegate.h"
#include "common/webservice/ScriptController.h"
#include "common/webservice/ScriptControllerDelegate.h"
#include "common/webservice/WebPageToken.h"
#include "desktop/alerts/AlertPresenter.h"
#include "desktop/logs/SessionLogXmlFile.h"
#include "engine/command/TXEngineApplicationDelegate.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QVariantMap>

#include <chrono>
#include <functional>
#include <memory>

class LoginView;
class MessageSendingModule;
class RuvoVersionRestoreController;
class TXMainController;
class TXMainView;

struct TXMainControllerTimings
{
    LoginTimings login;
    std::chrono::milliseconds syncRequest = ScriptControllerTimings().requestTimeout;
    std::chrono::milliseconds tokenRequest = WebPageToken::kRequestTimeout;
};

// What the main controller needs from the layers beneath it, given by the program's main().
struct TXMainControllerServices
{
    // A new index manager for the logged-in user and drive; empty: none is kept.
    IndexWorkerFactory makeIndexWorker;
    // Starts one quota measurement of the signed-in account; it answers with the engine's
    // figures ("usedquota", "totalquota") or with none when it failed. Empty: no quota.
    std::function<void(TXMainController &account, std::function<void(std::optional<QVariantMap>)> done)> measureQuota;
    // Starts a program on its own (the monitor); false when it could not be started.
    // Empty: the monitor is not started.
    std::function<bool(const QString &program)> startProgram;
};

// The client's hub, without a display: start-up, the account set-up after a
// login (account record, mode, destination drive, stored login details,
// index manager, message channel to the monitor), the quota, web-page tokens
// and the sync account, the destination-drive change and the quit question.
// Its windows are a TXMainView and a LoginView; everything else reaches it
// through the signals below and the application-delegate interface.
class TXMainController : public QObject,
                         public TXEngineApplicationDelegate,
                         public LoginViewControllerDelegateProtocol,
                         public IPCMessageDelegate,
                         public ScriptControllerDelegate
{
    Q_OBJECT

public:
    TXMainController(TXMainView &view, LoginView &loginView, AlertPresenter &alerts, TXMainControllerServices services,
                     TXMainControllerTimings timings = {});
    ~TXMainController() override;

    // Start-up: the folders and files of a start, then the automatic login.
    void awakeFromNib();

    LoginViewController &loginViewController() { return mLoginViewController; }
    // A user is logged in (and has not disconnected since).
    bool isLoggedIn() const { return mIsLoggedIn; }

    // --- Application delegate ---
    User &userObject() override { return mUserObj; }
    bool isAppInBackupMode() const override { return mBackupMode; }
    QString mpcName() const override;
    QString currentBackupPath() const override;
    // A record for a finished operation in the day's session-log file.
    void sendSessionLogInformation(const QString &operation, int totalFileCount, int syncFileCount,
                                   const QString &sessionLogFilePath, const QString &duration) override;
    SessionLogXmlFile &sessionLogXmlFile() { return mSessionLogXml; }
    std::optional<QString> currentquellonUserName() const override;
    std::optional<QString> currenttarnixUserName() const override;
    RuvoDeleteController *deleteController() override { return mDeleteController.get(); }
    // The program's one version restore, shared by the browser's views.
    RuvoVersionRestoreController &VersionRestoreController() { return *mVersionRestoreController; }
    TarnixDBManager *dbManager() override;

    // The monitor's preferences of a user, with "MultipleMacState" from the computer-folder plist.
    static QVariantMap getPreferencesSettingForUser(const QString &userName);
    // Fills the controller's own account record from the signed-in account, from scratch.
    void fillEngineController(TXEngineController &controller);

    // --- Operations of the other pages ---
    bool isOperationActive() const { return mIsAnyOperationActive; }
    void setOperationActive(bool active) { mIsAnyOperationActive = active; }
    bool isReIndexInProgress() const { return isReIndexInProgressValue; }
    void setReIndexInProgress(bool inProgress)
    {
        isReIndexInProgressValue = inProgress;
        emit reIndexInProgressChanged(inProgress);
    }
    // The destination volume's name, and its path; "" when none is chosen.
    QString currentDestinationDrive() const;
    QString destinationVolumePath() const { return mDestinationDrive; }
    // The volume chosen in the pop-up, or unmounted (unmountedVolume = the path that went).
    void destinationDriveDidChange(const QString &volumePath, const QString &unmountedVolume = {});
    // The drive the client runs from, else a drive holding this brand's backups, else the
    // only drive attached, else the start-up volume; "" when none of them is a volume.
    static QString getInstallationVolume();
    // The main window's close button: asks while something runs; true when the program may end.
    bool windowShouldClose();
    // The Search page searches for the key under the root ("" for the whole drive): the
    // sidebar's search field. An empty key only shows the page.
    void displaySearchView(const QString &key, const QString &root) { emit searchViewRequested(key, root); }
    // Measures the quota again (the sidebar's recalculate button).
    void calQuota();
    // Opens the account's upgrade page (quota prompt, sidebar, Backup page).
    void upgrade();
    // The sidebar's switch changed the mode (and wrote the mode file): the controller follows it.
    // The sidebar's switch (or the sync reply) set the mode: the pages follow it.
    void setBackupORSyncSetView(bool backupMode)
    {
        mBackupMode = backupMode;
        emit modeDidChange(backupMode);
    }

    // --- Login flow (LoginViewControllerDelegateProtocol) ---
    void launchMonitor() override { startMonitor(); }
    // Starts the monitor unless it runs already.
    enum class MonitorStart
    {
        AlreadyRunning,
        Started,
        Failed
    };
    MonitorStart startMonitor();
    void setPvtKeyValidatedcalledOnce(bool called) override { isPvtKeyValidatedcalledOnce = called; }
    void willLoginForFirstTime() override;
    void loginSuccessfulWithDetails(const QVariantMap &userDetails, const QVariantMap &accountDetails) override;
    void loginFailed() override;
    void willNeedToConfigureAccountForUser(const QString &userName) override;
    void configureAccountFailed(const QString &reason, const QString &userName) override;
    void quotaCall(const QVariantMap &userDetails) override;
    void rememberMe(bool remember) override;
    void displayGuide(bool shown) override;
    void setLoginButtonTitle(const QString &title) override;
    void setshouldDisplayQuotaMessageOnce(bool shouldDisplay) override
    {
        shouldDisplayQuotaMessageOnce = shouldDisplay;
    }
    void didDisconnect() override;

    // --- Monitor messages (any thread) ---
    void didReceiveIPCMessage(const QVariantList &message) override;

    // --- Sync-account replies ---
    void didScriptControllerFinishedSuccessfully(const QVariant &result, ScriptController *controller) override;
    void connectionError(const QString &error, ScriptController *controller) override;
    void parsingFailedWithError(const QString &error, ScriptController *controller) override;

signals:
    // The account record was filled by a login: pages and controllers take it (and the user's files).
    void accountDidChange();
    // The first login of this user on this computer (default backup set, guides).
    void userLoggedInForFirstTime();
    // Whether the Restore guide counts as shown: not after a user's first login, else it does.
    void remoteGuideCalledOnce(bool calledOnce);
    // The destination drive is set or changed.
    void destinationDidChange(const QString &volumePath);
    // Backup or sync mode: the set, the set list, the exclusions and the session driver of the mode.
    void modeDidChange(bool backupMode);
    void reIndexInProgressChanged(bool inProgress);
    // displaySearchView: the Search page shows and searches (the mode switch's help goes).
    void searchViewRequested(const QString &key, const QString &root);
    // Disconnect or quit: every running backup, restore, search and delete stops.
    void stopAllOperations();
    // The pages' controls are enabled (a user is logged in) or disabled (before a login,
    // after a disconnect).
    void enableViewsChanged(bool enabled);

private:
    void createShortcut();
    // Post-login set-up; runs at most once per login. It measures the quota unless the
    // login came through a quota measurement (after a private key was accepted).
    void onSuccessfulLogin(bool quotaMeasured = false);
    void setUserData(const QVariantMap &loginDetails, const QVariantMap &accountDetails);
    void readModeOfUser(const QString &userName);
    void chooseDestinationAtLogin();
    // Enables or disables the sidebar and the pages together.
    void setEnableViews(bool enabled);
    // Holds the volume as the destination and shows it.
    void setDestination(const QString &volumePath);
    void initiateConnections();
    void handleMonitorMessage(const QVariantList &message);
    void quotaMeasured(const std::optional<QVariantMap> &output);
    void displayQuotaExceedMessage();
    // Stops the index manager (its thread ends away from the main thread) and, when asked,
    // starts a new one once the old one has fully stopped.
    void replaceIndexWorker(bool startNew);
    void validateIfSyncActivated();
    void syncAccountConfirmed(const QVariantMap &reply);
    void setTarnixSyncAccountDetails(QVariantMap reply);
    static QString brandFolder();

    TXMainView &mView;
    AlertPresenter &mAlerts;
    TXMainControllerServices mServices;
    TXMainControllerTimings mTimings;
    LoginViewController mLoginViewController;
    User mUserObj;
    bool mBackupMode = true;
    QString mDestinationDrive;
    bool isPvtKeyValidatedcalledOnce = false;
    bool mIsFirstLoginOfRun = true;
    bool shouldDisplayQuotaMessageOnce = true;
    bool mIsAnyOperationActive = false;
    bool isReIndexInProgressValue = false;
    bool isSyncActivated = false;
    bool mIndexWorkerWanted = false;
    bool mIsLoggedIn = false;
    // A private key was accepted: the quota result completes the login.
    bool mCompletesLoginOnQuota = false;
    std::unique_ptr<RuvoDeleteController> mDeleteController;
    std::unique_ptr<RuvoVersionRestoreController> mVersionRestoreController;
    std::unique_ptr<IndexWorker> mDBManager;
    // Stopped index managers, each released once its thread has ended.
    QThreadPool mRetiringIndexWorkers;
    std::unique_ptr<MessageSendingModule> mIPCWithMonitor;
    WebPageToken mUpgradeToken;
    SessionLogXmlFile mSessionLogXml;
    ScriptController syncUserPwdInfo;
    ScriptController SyncUserDetailsInfo;
};
