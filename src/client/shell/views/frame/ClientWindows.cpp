#include "client/shell/views/frame/ClientWindows.h"

#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/widgets/ResourceImage.h"

#include "desktop/alerts/views/AlertPanePresenter.h"

namespace {

const QSize kMainWindowSize(980, 660);

}  // namespace

ClientWindows::ClientWindows()
    : mMainWindow(std::make_unique<TXMainWindow>())
    , mAlerts(std::make_unique<AlertPanePresenter>(mMainWindow.get()))
    , mTabViewController(std::make_unique<TXTabViewController>(this))
    , mSleep(QLLocalizedString(QStringLiteral("ApplicationName")))
{
    mMainWindow->setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    mMainWindow->setWindowIcon(ResourceImage::brandIcon());
    mMainWindow->resize(kMainWindowSize);
    // The pages (BackupTab, RestoreTab, LogTab) fill their tabs when they are built.
    mTabViewController->setControllers(mMainWindow.get());
    mTabViewController->setLogoForMainScreen(true);
    sidebar()->setControlsStatus(false);
}

ClientWindows::~ClientWindows() = default;

AlertPresenter &ClientWindows::alerts() const { return *mAlerts; }

Sidebar *ClientWindows::sidebar() const { return mTabViewController->sidebar(); }

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
