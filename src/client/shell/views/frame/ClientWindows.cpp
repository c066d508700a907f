#include "client/shell/views/frame/ClientWindows.h"

#include "client/shell/login/AccountHosts.h"

#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/widgets/ResourceImage.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "desktop/logs/views/LogViewController.h"

#include "desktop/alerts/views/AlertPanePresenter.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace {

const QSize kMainWindowSize(980, 660);

}  // namespace

ClientWindows::ClientWindows()
    : mMainWindow(std::make_unique<TXMainWindow>())
    , mAlerts(std::make_unique<AlertPanePresenter>(mMainWindow.get()))
    , mTabViewController(std::make_unique<TXTabViewController>(this))
    , mSleep(QLLocalizedString(QStringLiteral("ApplicationName")))
{
    LogViewController::Hooks logHooks;
    logHooks.chooseFolder = [this] { return QFileDialog::getExistingDirectory(mMainWindow.get()); };
    logHooks.openLink = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    logHooks.helpPage = AccountHosts::page(AccountHosts::brandWebSite(), QStringLiteral("/help/Mac/log.htm"));
    // The viewers of every program of the user follow a chosen period (the shell posts it).
    logHooks.postPeriod = [this](const QString &period) { emit logPeriodChosen(period); };
    mLogViewController = new LogViewController(SessionLogsFolder::fromApplicationFiles(), *mAlerts, logHooks);
    mMainWindow->setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    mMainWindow->setWindowIcon(ResourceImage::brandIcon());
    mMainWindow->resize(kMainWindowSize);
    // Backup Now (BackupTab) and the browser pages fill their tabs when they are built.
    mTabViewController->setControllers(mMainWindow.get());
    mTabViewController->setPageView(Tab::Log, mLogViewController);
    connect(mTabViewController.get(), &TXTabViewController::reloadLogView, mLogViewController,
            &LogViewController::reloadLogViewOnTableViewSelectionChange);
    mTabViewController->setLogoForMainScreen(true);
    mTabViewController->setControlsStatus(false);
}

ClientWindows::~ClientWindows() = default;

AlertPresenter &ClientWindows::alerts() const { return *mAlerts; }

void ClientWindows::setBackupRunning(bool running)
{
    mActivity.backupRunning = running;
    keepAwakeWhileWorking();
}

void ClientWindows::setRestoreRunning(bool running)
{
    mActivity.restoreRunning = running;
    keepAwakeWhileWorking();
}

void ClientWindows::keepAwakeWhileWorking()
{
    if (mActivity.backupRunning || mActivity.restoreRunning)
        mSleep.acquire(QStringLiteral("A backup or restore is running"));
    else
        mSleep.release();
}
