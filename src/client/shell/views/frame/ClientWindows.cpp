#include "client/shell/views/frame/ClientWindows.h"

#include "desktop/logs/SessionLogsFolder.h"
#include "desktop/logs/views/LogViewController.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/widgets/ResourceImage.h"

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
{
    LogViewController::Hooks logHooks;
    logHooks.chooseFolder = [this] { return QFileDialog::getExistingDirectory(mMainWindow.get()); };
    logHooks.openLink = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    // Until the notice board between the programs is here, a chosen period comes straight back.
    logHooks.postPeriod = [this](const QString &period) { mLogViewController->sortLogsFromNotification(period); };
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
