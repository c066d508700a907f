#include "client/shell/views/frame/ClientShell.h"

#include "client/shell/main/TXMainController.h"
#include "client/shell/views/account/AccountMenuView.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/login/EncryptionSetupView.h"
#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/LoginWindows.h"
#include "client/shell/views/login/LoginWindowsView.h"
#include "client/shell/views/frame/MainWindowView.h"
#include "client/shell/views/login/PrivateKeyView.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "desktop/logs/views/LogViewController.h"
#include "desktop/errorreport/views/SendErrorReportController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "index/IndexQueryKeys.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>
#include <QUrl>

ClientShell::ClientShell(TXMainControllerServices services)
    : mWindows(std::make_unique<ClientWindows>()),
      mLoginWindows(std::make_unique<LoginWindows>(mWindows->mainWindow(), mWindows->tabViewController()->loginButton())),
      mLoginView(std::make_unique<LoginWindowsView>(*mLoginWindows)),
      mMainView(std::make_unique<MainWindowView>(*mWindows)),
      mErrorReport(std::make_unique<SendErrorReportController>(mWindows->alerts())),
      mMainController(std::make_unique<TXMainController>(*mMainView, *mLoginView, mWindows->alerts(), std::move(services)))
{
    connectLoginWindows();
    connectMainWindow();
    connectSidebar();
}

ClientShell::~ClientShell()
{
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
    connect(form, &LoginFormView::emailAccountChosen, this, [&login](const QString &name) { login.onEmailBoxClick(name); });
    connect(form, &LoginFormView::linkActivated, this, [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });
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
    connect(menu, &AccountMenuView::disconnectAccount, this, [&login] { login.DisconnectAccount(); });
    connect(menu, &AccountMenuView::showAccountSettings, this, [&login] { login.showAccountSettings(); });
    connect(menu, &AccountMenuView::displayHelp, this, [&login] { login.DisplayHelp(); });
    // The client's own report window; the monitor, which would show its window instead, is not built yet.
    connect(menu, &AccountMenuView::sendErrorReport, this, [this] {
        mLoginWindows->closeDisconnectWindow();
        mErrorReport->showErrorReportWindow();
    });
    connect(menu, &AccountMenuView::openPreferences, this, [this] {
        mLoginWindows->closeDisconnectWindow();
        mMainController->launchMonitor();
    });
    // The speed test asks the engine's transfer-rate runner, which is not built yet.
    menu->mBandwidthTestButton->hide();
    menu->adjustSize();
}

void ClientShell::connectMainWindow()
{
    TXMainController &controller = *mMainController;
    TXTabViewController *tabs = mWindows->tabViewController();
    connect(tabs, &TXTabViewController::upgrade, this, [&controller] { controller.upgrade(); });
    connect(tabs, &TXTabViewController::reCalculateQuota, this, [&controller] { controller.calQuota(); });
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
    connect(tabs, &TXTabViewController::spaceUsedCalculationRequested, this, &ClientShell::measureSpaceUsed);
    connect(tabs, &TXTabViewController::reIndexAlertRequested, this,
            [this](const QString &message) { mWindows->alerts().inform(message); });
    // After a login the session-log folders of every operation are there.
    connect(mMainController.get(), &TXMainController::accountDidChange, this, [this] {
        mWindows->logViewController()->MoveOldLogsAtPath(SessionLogsFolder::fromApplicationFiles().path());
    });
}

void ClientShell::measureSpaceUsed()
{
    const QString folder = mMainController->currentBackupPath();
    QPointer<TXTabViewController> tabs = mWindows->tabViewController();
    QThreadPool::globalInstance()->start([folder, tabs] {
        const quint64 bytes = QLUtility::calculateSizeOfFile(folder);
        QMetaObject::invokeMethod(tabs, [tabs, bytes] {
            if (tabs)
                tabs->folderSizeCalculationDidFinish({{IndexQueryKeys::kFolderSize, QString::number(bytes)},
                                                      {IndexQueryKeys::kFileCount, QStringLiteral("1")}});
        });
    });
}
