#include "client/shell/views/frame/ClientShell.h"

#include "client/shell/account/MonitorProgram.h"
#include "client/shell/login/AccountHosts.h"
#include "client/shell/main/TXMainController.h"
#include "client/shell/views/account/AccountMenuView.h"
#include "client/shell/views/bandwidth/BandwidthTestWindowView.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/MainWindowView.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/login/EncryptionSetupView.h"
#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/LoginWindows.h"
#include "client/shell/views/login/LoginWindowsView.h"
#include "client/shell/views/login/PrivateKeyView.h"
#include "client/shell/views/sidebar/Sidebar.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/files/TextFile.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/errorreport/views/SendErrorReportController.h"
#include "index/IndexQueryKeys.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

ClientShell::ClientShell(TXMainControllerServices services)
    : mWindows(std::make_unique<ClientWindows>())
    , mLoginWindows(
          std::make_unique<LoginWindows>(mWindows->mainWindow(), mWindows->tabViewController()->loginButton()))
    , mLoginView(std::make_unique<LoginWindowsView>(*mLoginWindows))
    , mMainView(std::make_unique<MainWindowView>(*mWindows))
    , mErrorReport(std::make_unique<SendErrorReportController>(mWindows->alerts()))
    , mBandwidthTest(std::make_unique<BandwidthTestWindowView>(mWindows->alerts()))
    , mMainController(
          std::make_unique<TXMainController>(*mMainView, *mLoginView, mWindows->alerts(), std::move(services)))
{
    connectLoginWindows();
    connectMainWindow();
    connectSidebar();
    connectMonitorNotices();
}

ClientShell::~ClientShell()
{
    // A walk of the drive stops before the windows it reports to go.
    mSpaceUsed.stop();
    // The controller goes first: it may still speak to its views while it stops.
    mMainController.reset();
}

void ClientShell::start()
{
    mWindows->mainWindow()->show();
    mMainController->awakeFromNib();
}

void ClientShell::connectLoginWindows()
{
    LoginViewController &login = mMainController->loginViewController();
    LoginFormView *form = mLoginWindows->loginForm();
    connect(form, &LoginFormView::performLogin, this, [&login] { login.performLogin(); });
    connect(form, &LoginFormView::rememberMe, this, [&login] { login.rememberMe(); });
    connect(form, &LoginFormView::emailAccountChosen, this,
            [&login](const QString &name) { login.onEmailBoxClick(name); });
    connect(form, &LoginFormView::linkActivated, this,
            [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });
    connect(form, &LoginFormView::forgotPassword, this, [&login] { login.forgotPasswordHandling(); });
    connect(form, &LoginFormView::signUp, this, [&login] { login.signupForm(); });
    connect(form, &LoginFormView::closeButtonClicked, this, [] { QCoreApplication::quit(); });

    EncryptionSetupView *setup = mLoginWindows->setupPage();
    connect(setup, &EncryptionSetupView::configureAccount, this, [&login] { login.configureAccount(); });
    connect(setup, &EncryptionSetupView::closeButtonClicked, this, [&login] { login.closeSetupPage(); });
    PrivateKeyView *keyPage = mLoginWindows->privateKeyPage();
    connect(keyPage, &PrivateKeyView::privatekeyAcceptanceValidation, this,
            [&login] { login.privatekeyAcceptanceValidation(); });
    connect(keyPage, &PrivateKeyView::closeButtonClicked, this, [&login] { login.closeSetupPage(); });

    AccountMenuView *menu = mLoginWindows->accountMenu();
    connect(menu, &AccountMenuView::disconnectAccount, this, [this, &login] {
        mNotices.post(MonitorNotices::kDisablePreferences);
        login.DisconnectAccount();
    });
    connect(menu, &AccountMenuView::showAccountSettings, this, [&login] { login.showAccountSettings(); });
    connect(menu, &AccountMenuView::displayHelp, this, [&login] { login.DisplayHelp(); });
    connect(menu, &AccountMenuView::sendErrorReport, this, &ClientShell::sendErrorReport);
    connect(menu, &AccountMenuView::openPreferences, this, &ClientShell::openPreferences);
    connect(menu, &AccountMenuView::uploadSpeed, this, [this] { testSpeed(DataTransferRateController::Test::Upload); });
    connect(menu, &AccountMenuView::downloadSpeed, this,
            [this] { testSpeed(DataTransferRateController::Test::Download); });
}

void ClientShell::connectMainWindow()
{
    TXMainController &controller = *mMainController;
    TXTabViewController *tabs = mWindows->tabViewController();
    Sidebar *sidebar = mWindows->sidebar();
    connect(sidebar, &Sidebar::upgrade, this, [&controller] { controller.upgrade(); });
    connect(sidebar, &Sidebar::reCalculateQuota, this, [&controller] { controller.calQuota(); });
    connect(tabs, &TXTabViewController::openProductPage, this, [] {
        QDesktopServices::openUrl(
            AccountHosts::page(AccountHosts::brandWebSite(), Brand::pick(QStringLiteral("/tarnix-videzud.htm"),
                                                                         QStringLiteral("/quellon-videzud.htm"))));
    });
    connect(sidebar, &Sidebar::openDesktopApplication, this, &ClientShell::openDesktopApplication);
    // The login button opens the login window, or the account menu once a user is logged in.
    connect(tabs, &TXTabViewController::loginButtonClicked, this, [this] {
        if (mMainController->isLoggedIn())
            mLoginWindows->showDisconnectWindow();
        else
            mLoginWindows->displayFloatingWindow();
    });
    TXMainWindow *window = mWindows->mainWindow();
    window->setShouldCloseHook([&controller] { return controller.windowShouldClose(); });
    window->setMouseDownHook([this] { mLoginWindows->closeDisconnectWindow(); });
    connect(window, &TXMainWindow::resized, this, [this] {
        if (mLoginWindows->isFloatingWindowVisible())
            mLoginWindows->displayFloatingWindow();
        if (mLoginWindows->isDisconnectWindowVisible())
            mLoginWindows->showDisconnectWindow();
    });
    connect(&controller, &TXMainController::accountDidChange, this,
            [this] { mWindows->setLoggedInUserName(mMainController->userObject().UserName()); });
}

void ClientShell::connectSidebar()
{
    TXTabViewController *tabs = mWindows->tabViewController();
    connect(tabs, &TXTabViewController::backupOrSyncSetViewChanged, mMainController.get(),
            &TXMainController::setBackupORSyncSetView);
    connect(mWindows->sidebar(), &Sidebar::spaceUsedCalculationRequested, this, &ClientShell::measureSpaceUsed);
    connect(mMainController.get(), &TXMainController::reIndexInProgressChanged, mWindows.get(),
            &ClientWindows::setReIndexInProgress);
    connect(tabs, &TXTabViewController::reIndexAlertRequested, this,
            [this](const QString &message) { mWindows->alerts().inform(message); });
    // Another account's figure would be shown as this one's.
    connect(mMainController.get(), &TXMainController::accountDidChange, this,
            [this] { mSpaceUsed.keepOnlyFor(mMainController->currentBackupPath()); });
}

void ClientShell::connectMonitorNotices()
{
    connect(mMainController.get(), &TXMainController::accountDidChange, this,
            [this] { mNotices.post(MonitorNotices::kEnablePreferences); });
    connect(mWindows->sidebar(), &Sidebar::modeSwitched, this,
            [this] { mNotices.post(MonitorNotices::kVersionsButton); });
}

void ClientShell::openPreferences()
{
    mLoginWindows->closeDisconnectWindow();
    // A monitor started now reads its command file first: its preferences stay disabled until it hears.
    if (mMainController->startMonitor() == TXMainController::MonitorStart::Started && !Brand::isTarnix())
        TextFile::write(MonitorProgram::launchFilePath(), MonitorNotices::kDisablePreferencesWord);
    mNotices.post(MonitorNotices::kDisablePreferences);
    mNotices.post(MonitorNotices::kOpenPreferences);
}

void ClientShell::sendErrorReport()
{
    mLoginWindows->closeDisconnectWindow();
    if (mMainController->startMonitor() == TXMainController::MonitorStart::Failed) {
        mErrorReport->showErrorReportWindow();
        return;
    }
    mNotices.post(MonitorNotices::kOpenPreferences, MonitorNotices::kSendErrorReport);
}

void ClientShell::openDesktopApplication()
{
    // The maker's desktop application when it is installed, else its home page.
    const QString application =
        QStandardPaths::findExecutable(Brand::pick(QStringLiteral("Tarnix"), QStringLiteral("Quellon")));
    if (application.isEmpty() || !QProcess::startDetached(application, {}))
        QDesktopServices::openUrl(AccountHosts::brandWebSite());
}

void ClientShell::testSpeed(DataTransferRateController::Test test)
{
    mLoginWindows->closeDisconnectWindow();
    DataTransferRateController &rates = mBandwidthTest->controller();
    rates.setUserInfo(mMainController->userObject());
    if (test == DataTransferRateController::Test::Upload)
        rates.getUploadRate();
    else
        rates.getDownloadRate();
}

void ClientShell::measureSpaceUsed()
{
    Sidebar *sidebar = mWindows->sidebar();
    mSpaceUsed.start(mMainController->currentBackupPath(), sidebar, [sidebar](quint64 bytes) {
        sidebar->folderSizeCalculationDidFinish(
            {{IndexQueryKeys::kFolderSize, QString::number(bytes)}, {IndexQueryKeys::kFileCount, QStringLiteral("1")}});
    });
}
