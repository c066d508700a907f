#include "client/shell/main/TXMainController.h"

#include "client/shell/account/MonitorProgram.h"
#include "client/shell/login/LoginView.h"
#include "client/shell/main/TXMainView.h"
#include "common/account/MultipleComputerKeys.h"
#include "common/files/DirectiryCreation.h"
#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/messaging/MessageSendingModule.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "engine/command/TXEngineController.h"
#include "engine/controllers/RuvoDeleteController.h"
#include "engine/controllers/RuvoVersionRestoreController.h"
#include "index/manager/TarnixDBManager.h"
#include "platform/MainThread.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThreadPool>

#include <unistd.h>

namespace {

// Message types between the client and the monitor.
constexpr int kHelloMessage = 3;
constexpr int kBrowseButtonMessage = 8;

QString pathOf(ApplicationFile file) { return TXSupportFileManager::txFileManager().pathForApplicationFile(file); }

QString loginName()
{
    const QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QDir::home().dirName() : name;
}

void trace(const QString &text) { QLBackupProgressLogger::progressLogger().logInteractiveTrace(text, true); }

}  // namespace

TXMainController::TXMainController(TXMainView &view, LoginView &loginView, AlertPresenter &alerts,
                                   TXMainControllerServices services, TXMainControllerTimings timings)
    : mView(view)
    , mAlerts(alerts)
    , mServices(std::move(services))
    , mTimings(timings)
    , mLoginViewController(loginView, *this, timings.login)
    , mDeleteController(std::make_unique<RuvoDeleteController>())
    , mVersionRestoreController(std::make_unique<RuvoVersionRestoreController>())
    , mUpgradeToken([&view](const QUrl &url) { view.openURL(url); }, timings.tokenRequest)
    , mSessionLogXml(SessionLogsFolder::fromApplicationFiles(), [this] { return mUserObj.UserName(); })
    , syncUserPwdInfo(ScriptControllerTimings{timings.syncRequest})
    , SyncUserDetailsInfo(ScriptControllerTimings{timings.syncRequest})
{
    syncUserPwdInfo.setDelegate(this);
    SyncUserDetailsInfo.setDelegate(this);
    connect(this, &TXMainController::stopAllOperations, this, [this] {
        mDeleteController->cancelDelete();
        if (mVersionRestoreController->isRestoring())
            mVersionRestoreController->cancelRestore();
    });
}

TXMainController::~TXMainController()
{
    if (TXEngineApplicationDelegate::current() == this)
        TXEngineApplicationDelegate::setCurrent(nullptr);
    // The message channel goes first: no monitor message may arrive for a controller that is gone.
    mIPCWithMonitor.reset();
    // The program ends at once: a merge under way stops at a safe point and resumes at the next start.
    if (TarnixDBManager *index = dbManager())
        index->stopAtSafePoint();
    mRetiringIndexWorkers.waitForDone();
    mDBManager.reset();
}

// A launcher entry for the desktop, once: the desktop finds the program through it.
void TXMainController::createShortcut()
{
    const QString marker = pathOf(ApplicationFile::ShortcutPreferencePath);
    if (QFileInfo::exists(marker))
        return;
    QString program = QCoreApplication::applicationFilePath();
    program.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    program.replace(QLatin1Char('%'), QStringLiteral("%%"));
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=\"%2\"\nTerminal=false\n")
                              .arg(QLLocalizedString(QStringLiteral("ApplicationName")), program);
    if (TextFile::write(pathOf(ApplicationFile::ShortcutPath), entry))
        TextFile::write(marker, QCoreApplication::applicationVersion());
}

void TXMainController::awakeFromNib()
{
    TXEngineApplicationDelegate::setCurrent(this);
    createShortcut();
    Directiry_Creation::createPrivateDirectoryHierarchyAtPath(pathOf(ApplicationFile::LogsFolderPath));
    mUserObj = User();
    isPvtKeyValidatedcalledOnce = false;
    setEnableViews(false);
    mView.displayGuide(false);
    mView.displayBackupView();
    shouldDisplayQuotaMessageOnce = true;
    // Where the other programs of this user find the home folder; private to the user.
    const QString root = pathOf(ApplicationFile::ApplicationRootFolderPath);
    TextFile::write(root + QStringLiteral("/userhomePath.txt"), PathRoots::homeFolder());
    mLoginViewController.autoLogin();
}

// --- Application delegate ---

QVariantMap TXMainController::getPreferencesSettingForUser(const QString &userName)
{
    QVariantMap preferences = PropertyList::readDictionary(QLLocalizedString(QStringLiteral("MonitorPreferencePath")))
                                  .value(userName)
                                  .toMap();
    const QVariantMap computers = PropertyList::readDictionary(pathOf(ApplicationFile::MultiplePCStateFilePath));
    if (computers.contains(userName))
        preferences.insert(QStringLiteral("MultipleMacState"), computers.value(userName));
    return preferences;
}

QString TXMainController::mpcName() const
{
    const QString folder = getPreferencesSettingForUser(TXSupportFileManager::txFileManager().TarnixUserName())
                               .value(QStringLiteral("MultipleMacState"))
                               .toMap()
                               .value(MultipleComputerKeys::kMultipleMacFolderName)
                               .toString();
    return folder.isEmpty() ? QString() : QLatin1Char('/') + folder;
}

QString TXMainController::brandFolder()
{
    return Brand::pick(QStringLiteral("TarnixVidezud"), QStringLiteral("QuellonVidezud"));
}

QString TXMainController::currentBackupPath() const
{
    if (mDestinationDrive.isEmpty())
        return {};
    return mDestinationDrive + QLatin1Char('/') + brandFolder() + QLatin1Char('/') +
           TXSupportFileManager::txFileManager().TarnixUserName();
}

void TXMainController::sendSessionLogInformation(const QString &operation, int totalFileCount, int syncFileCount,
                                                 const QString &sessionLogFilePath, const QString &duration)
{
    mSessionLogXml.sendSessionLogInformationWithOperation(operation, totalFileCount, syncFileCount, sessionLogFilePath,
                                                          duration);
}

std::optional<QString> TXMainController::currentquellonUserName() const
{
    return mLoginViewController.loggedInUserDetails().value(StoredLoginDetails::kQuellonUserName).toString();
}

std::optional<QString> TXMainController::currenttarnixUserName() const
{
    return mLoginViewController.loggedInUserDetails().value(StoredLoginDetails::kTarnixUsername).toString();
}

TarnixDBManager *TXMainController::dbManager() { return mDBManager ? mDBManager->dbManager() : nullptr; }

void TXMainController::fillEngineController(TXEngineController &controller)
{
    // From scratch: nothing of an earlier account (its sync credentials above all) stays behind.
    controller.userInfo() = User();
    setUserAndProxyToObject(controller);
}

// --- Login flow ---

TXMainController::MonitorStart TXMainController::startMonitor()
{
    if (MonitorProgram::isRunning())
        return MonitorStart::AlreadyRunning;
    const QString program = QLLocalizedString(QStringLiteral("MonitorExecPath"));
    if (mServices.startProgram && mServices.startProgram(program))
        return MonitorStart::Started;
    trace(QStringLiteral("The monitor could not be started: %1").arg(program));
    return MonitorStart::Failed;
}

void TXMainController::willLoginForFirstTime() { mView.displayGuide(true); }

void TXMainController::loginSuccessfulWithDetails(const QVariantMap &, const QVariantMap &)
{
    mView.setWindowTitle(QString());
    onSuccessfulLogin();
    mLoginViewController.setIsDisconnected(false);
}

void TXMainController::loginFailed() { mView.setWindowTitle(QString()); }

void TXMainController::willNeedToConfigureAccountForUser(const QString &) {}

void TXMainController::configureAccountFailed(const QString &, const QString &) {}

void TXMainController::rememberMe(bool remember) { StoredLoginDetails::setRememberDetails(remember); }

void TXMainController::displayGuide(bool shown) { mView.displayGuide(shown); }

void TXMainController::setLoginButtonTitle(const QString &title) { mView.setLoginButtonTitle(title); }

void TXMainController::didDisconnect()
{
    mIsLoggedIn = false;
    mView.displayBackupView();
    setEnableViews(false);
    emit stopAllOperations();
    mView.setSwitchModeVisible(false);
    // The disconnect marker: the monitor and the Backup page read it.
    const QString marker =
        UserFiles::path(QStringLiteral("DisconnectMarkerPath"), TXSupportFileManager::txFileManager().TarnixUserName());
    TextFile::write(marker, QStringLiteral("1"));
}

void TXMainController::setEnableViews(bool enabled)
{
    mView.setEnableViews(enabled);
    emit enableViewsChanged(enabled);
}

bool TXMainController::windowShouldClose()
{
    QString question;
    if (mIsAnyOperationActive)
        question = QStringLiteral("This action will stop the backup / restore operation which is currently in "
                                  "progress. Would you like to proceed?");
    else if (isReIndexInProgressValue)
        question = QStringLiteral("This action will stop the re-indexing operation which is currently in progress. "
                                  "Would you like to proceed?");
    if (!question.isEmpty()) {
        const AlertRequest alert{QLLocalizedString(QStringLiteral("ApplicationName")),
                                 question,
                                 QStringLiteral("No"),
                                 QStringLiteral("Yes"),
                                 {},
                                 {}};
        if (mAlerts.confirm(alert))
            return false;
    }
    emit stopAllOperations();
    return true;
}

// --- Monitor messages ---

void TXMainController::initiateConnections()
{
    const QString machine = QLUtility::machineID();
    mIPCWithMonitor = std::make_unique<MessageSendingModule>();
    mIPCWithMonitor->setupConnection(MessageSendingModule::clientName(machine, loginName()),
                                     MessageSendingModule::monitorName(machine, loginName()));
    mIPCWithMonitor->setDelegate(this);
    mIPCWithMonitor->sendIPCMessage(QString(), kHelloMessage, true);
}

void TXMainController::didReceiveIPCMessage(const QVariantList &message)
{
    // Messages arrive on the channel's own thread; the views are the main thread's.
    MainThread::runInThreadOf(this, [this, message] { handleMonitorMessage(message); });
}

void TXMainController::handleMonitorMessage(const QVariantList &message)
{
    if (message.size() < 2)
        return;
    const int type = message.at(1).toString().toInt();
    if (type == kHelloMessage && mIPCWithMonitor)
        mIPCWithMonitor->sendIPCMessage(QString(), kHelloMessage, true);
    if (type == kHelloMessage || type == kBrowseButtonMessage)
        mView.canHideBrowseButton(message.at(0).toString());
}

// --- Index manager ---

void TXMainController::replaceIndexWorker(bool startNew)
{
    // The index lives on the destination drive: without a drive there is none to keep.
    mIndexWorkerWanted = startNew && mServices.makeIndexWorker && !mDestinationDrive.isEmpty();
    const auto startWanted = [this] {
        if (!mIndexWorkerWanted || mDBManager)
            return;
        mDBManager = mServices.makeIndexWorker();
        if (mDBManager)
            mDBManager->start(*this);
    };
    if (!mDBManager) {
        startWanted();
        return;
    }
    // The old manager is destroyed, which waits until its thread and writers have ended, away
    // from the main thread; the new one starts its merge only after that.
    auto retiring = std::make_shared<std::unique_ptr<IndexWorker>>(std::move(mDBManager));
    mRetiringIndexWorkers.start([this, retiring, startWanted] {
        retiring->reset();
        MainThread::runInThreadOf(this, startWanted);
    });
}
