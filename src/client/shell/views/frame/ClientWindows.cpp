#include "client/shell/views/frame/ClientWindows.h"

#include "desktop/logs/SessionLogsFolder.h"
#include "desktop/logs/views/LogViewController.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/texts/QLLocalizedString.h"
#include "common/widgets/ResourceImage.h"

#include "common/widgets/AlertPaneWindowController.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace {

const QSize kMainWindowSize(980, 660);

bool askYesOrNo(const QString &message)
{
    AlertPaneWindowController alert(QLLocalizedString(QStringLiteral("Yes")), QLLocalizedString(QStringLiteral("No")), QString());
    return alert.displayMessage(message, QLLocalizedString(QStringLiteral("ApplicationName")), true) ==
           AlertPaneWindowController::kAnswerDefault;
}

}  // namespace

ClientWindows::ClientWindows()
    : mMainWindow(std::make_unique<TXMainWindow>())
    , mTabViewController(std::make_unique<TXTabViewController>(this))
{
    LogViewController::Hooks logHooks;
    logHooks.confirm = askYesOrNo;
    logHooks.chooseFolder = [this] { return QFileDialog::getExistingDirectory(mMainWindow.get()); };
    logHooks.openLink = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    // Until the notice board between the programs is here, a chosen period comes straight back.
    logHooks.postPeriod = [this](const QString &period) { mLogViewController->sortLogsFromNotification(period); };
    mLogViewController = new LogViewController(SessionLogsFolder::fromApplicationFiles(), logHooks);
    mMainWindow->setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    mMainWindow->setWindowIcon(ResourceImage::brandIcon());
    mMainWindow->resize(kMainWindowSize);
    // Backup Now (tab 0) and the browser pages (tabs 1, 3 and 5) fill their tabs when they are built.
    mTabViewController->setControllers({nullptr, nullptr, mLogViewController}, mMainWindow.get());
    connect(mTabViewController.get(), &TXTabViewController::reloadLogView, mLogViewController,
            &LogViewController::reloadLogViewOnTableViewSelectionChange);
    mTabViewController->setLogoForMainScreen(true);
    mTabViewController->setControlsStatus(false);
}

ClientWindows::~ClientWindows() = default;
