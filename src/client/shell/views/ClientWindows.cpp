#include "client/shell/views/ClientWindows.h"

#include "client/shell/TXMainController.h"
#include "client/shell/logs/SessionLogsFolder.h"
#include "client/shell/views/ClientArtwork.h"
#include "client/shell/views/LogViewController.h"
#include "client/shell/views/LoginWindows.h"
#include "client/shell/views/SendErrorReportController.h"
#include "client/shell/views/TXMainWindow.h"
#include "client/shell/views/TXTabViewController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "common/widgets/ResourceImage.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>

namespace {

const QSize kMainWindowSize(980, 660);

QString applicationName() { return QLLocalizedString(QStringLiteral("ApplicationName")); }

bool askYesOrNo(const QString &message)
{
    AlertPaneWindowController alert(QLLocalizedString(QStringLiteral("Yes")), QLLocalizedString(QStringLiteral("No")), QString());
    return alert.displayMessage(message, applicationName(), true) == AlertPaneWindowController::kAnswerDefault;
}

LogViewController::Hooks logHooks(ClientWindows &windows)
{
    LogViewController::Hooks hooks;
    hooks.confirm = askYesOrNo;
    hooks.chooseFolder = [&windows] { return QFileDialog::getExistingDirectory(windows.mainWindow()); };
    hooks.openLink = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    // Until the notice board between the programs is here, a chosen period comes straight back.
    hooks.postPeriod = [&windows](const QString &period) { windows.logViewController()->sortLogsFromNotification(period); };
    return hooks;
}

}  // namespace

ClientWindows::ClientWindows(TXMainControllerServices services)
    : mMainWindow(std::make_unique<TXMainWindow>())
    , mTabViewController(std::make_unique<TXTabViewController>(this))
    , mLogViewController(new LogViewController(SessionLogsFolder::fromApplicationFiles(), logHooks(*this)))
{
    mMainWindow->setWindowTitle(applicationName());
    mMainWindow->setWindowIcon(ResourceImage::brandIcon());
    mMainWindow->resize(kMainWindowSize);
    // Backup Now (tab 0) and the browser pages (tabs 1, 3 and 5) fill their tabs when they are built.
    mTabViewController->setControllers({nullptr, nullptr, mLogViewController}, mMainWindow.get());
    mTabViewController->setLogoForMainScreen(true);
    mLoginWindows = std::make_unique<LoginWindows>(mMainWindow.get(), mTabViewController->loginButton());
    mErrorReport = std::make_unique<SendErrorReportController>();
    mMainController = std::make_unique<TXMainController>(*this, *mLoginWindows, std::move(services));
    mLoginWindows->connectActions(mMainController->loginViewController());
    wireSidebar();
    wireWindows();
}

ClientWindows::~ClientWindows()
{
    // The controller goes first: it may still talk to its windows while it stops.
    mMainController.reset();
}

void ClientWindows::start()
{
    mMainWindow->show();
    mMainController->awakeFromNib();
}

void ClientWindows::wireSidebar()
{
    TXTabViewController *tabs = mTabViewController.get();
    TXMainController *controller = mMainController.get();
    connect(tabs, &TXTabViewController::reloadLogView, mLogViewController,
            &LogViewController::reloadLogViewOnTableViewSelectionChange);
    connect(tabs, &TXTabViewController::loginButtonClicked, mLoginWindows.get(), &LoginWindows::showDisconnectWindow);
    connect(tabs, &TXTabViewController::upgrade, controller, &TXMainController::upgrade);
    connect(tabs, &TXTabViewController::reCalculateQuota, controller, &TXMainController::calQuota);
    connect(tabs, &TXTabViewController::backupOrSyncSetViewChanged, controller, &TXMainController::setBackupORSyncSetView);
    connect(tabs, &TXTabViewController::spaceUsedCalculationRequested, this, &ClientWindows::measureSpaceUsed);
    connect(tabs, &TXTabViewController::reIndexAlertRequested, this, [this](const QString &message) {
        runModalAlert({applicationName(), message, QLLocalizedString(QStringLiteral("OK")), {}, {}, {}});
    });
    connect(controller, &TXMainController::accountDidChange, this,
            [this] { mLogViewController->MoveOldLogsAtPath(SessionLogsFolder::fromApplicationFiles().path()); });
}

void ClientWindows::wireWindows()
{
    mMainWindow->setMouseDownHook([this] { mLoginWindows->closeDisconnectWindow(); });
    mMainWindow->setShouldCloseHook([this] { return mMainController->windowShouldClose(); });
    connect(mMainWindow.get(), &TXMainWindow::resized, this, [this] {
        if (mLoginWindows->isFloatingWindowVisible())
            mLoginWindows->displayFloatingWindow();
        if (mLoginWindows->isDisconnectWindowVisible())
            mLoginWindows->showDisconnectWindow();
    });
    connect(mLoginWindows.get(), &LoginWindows::sendErrorReportRequested, mErrorReport.get(),
            &SendErrorReportController::showErrorReportWindow);
    connect(mLoginWindows.get(), &LoginWindows::openPreferencesRequested, mMainController.get(),
            &TXMainController::launchMonitor);
}

// The space used by the user's folder on the backup drive, measured away from the main thread.
void ClientWindows::measureSpaceUsed()
{
    const QString folder = mMainController->currentBackupPath();
    QPointer<TXTabViewController> tabs = mTabViewController.get();
    QThreadPool::globalInstance()->start([folder, tabs] {
        const quint64 bytes = QLUtility::calculateSizeOfFile(folder);
        QMetaObject::invokeMethod(tabs, [tabs, bytes] {
            if (tabs)
                tabs->folderSizeCalculationDidFinish(
                    {{QStringLiteral("fileSize"), QString::number(bytes)}, {QStringLiteral("FileCount"), QStringLiteral("1")}});
        });
    });
}

void ClientWindows::setEnableViews(bool enabled) { mTabViewController->setControlsStatus(enabled); }

void ClientWindows::setLoginButtonTitle(const QString &title)
{
    mTabViewController->loginButton()->setText(title);
    mMainWindow->addViewToTitleBar(mTabViewController->loginButton(), 300.0);
}

void ClientWindows::setWindowTitle(const QString &title)
{
    mMainWindow->setWindowTitle(title.isEmpty() ? applicationName() : title);
}

void ClientWindows::displayGuide(bool shown) { mTabViewController->displayGuide(shown); }

void ClientWindows::displayBackupView() { mTabViewController->displayBackupView(); }

void ClientWindows::setBackupMode(bool backupMode)
{
    mTabViewController->setMBackupMode(backupMode);
    mTabViewController->changeSwichImageForMode(backupMode);
}

void ClientWindows::setSwitchModeVisible(bool visible)
{
    visible ? mTabViewController->showSwitchMode() : mTabViewController->hideSwitchMode();
}

void ClientWindows::setLoginMode(bool backupMode) { mTabViewController->setTheLoginMode(backupMode); }

void ClientWindows::setQuotaPercentage(int percent) { mTabViewController->setQuotaPercentage(percent); }

// The pages that show the destination (Backup, Restore, Search) and the browse
// buttons come with Backup Now and the destination browser.
void ClientWindows::showDestination(const QString &) {}

void ClientWindows::canHideBrowseButton(const QString &) {}

void ClientWindows::refreshSpaceUsed() { mTabViewController->viewWasClicked(); }

int ClientWindows::runModalAlert(const AlertRequest &request)
{
    AlertPaneWindowController alert(request.defaultButton, request.alternateButton.isEmpty() ? QString() : request.alternateButton,
                                    request.otherButton.isEmpty() ? QString() : request.otherButton);
    if (!request.image.isEmpty())
        alert.mImageView()->setPixmap(ClientArtwork::image(request.image));
    return alert.displayMessage(request.message, request.title, true);
}

void ClientWindows::openURL(const QUrl &url) { QDesktopServices::openUrl(url); }

QString ClientWindows::loggedInUserName() const { return mMainController->userObject().UserName(); }

bool ClientWindows::isReIndexInProgress() const { return mMainController->isReIndexInProgress(); }

SidebarRules::Activity ClientWindows::runningActivity() const
{
    SidebarRules::Activity activity;
    activity.backupRunning = mMainController->isOperationActive();
    activity.reIndexRunning = mMainController->isReIndexInProgress();
    return activity;
}
