#include "client/logs/views/LogTab.h"

#include "client/shell/account/MonitorNotices.h"
#include "client/shell/login/AccountHosts.h"
#include "client/shell/main/TXMainController.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "desktop/logs/views/LogViewController.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace {

LogViewController::Hooks hooksOf(ClientWindows &windows, MonitorNotices &notices)
{
    LogViewController::Hooks hooks;
    hooks.chooseFolder = [&windows] { return QFileDialog::getExistingDirectory(windows.mainWindow()); };
    hooks.openLink = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    hooks.helpPage = AccountHosts::page(AccountHosts::brandWebSite(), QStringLiteral("/help/Mac/log.htm"));
    // The viewers of every program of the user follow a chosen period: it is announced, and
    // shown when the announcement comes back.
    hooks.postPeriod = [&notices](const QString &period) { notices.postLogPeriod(period); };
    return hooks;
}

}  // namespace

LogTab::LogTab(ClientShell &shell)
    : logs(new LogViewController(SessionLogsFolder::fromApplicationFiles(), shell.windows().alerts(),
                                 hooksOf(shell.windows(), shell.monitorNotices())))
{
    TXTabViewController &tabs = *shell.windows().tabViewController();
    QObject::connect(&tabs, &TXTabViewController::reloadLogView, logs,
                     &LogViewController::reloadLogViewOnTableViewSelectionChange);
    QObject::connect(&shell.monitorNotices(), &MonitorNotices::logPeriodChosen, logs,
                     &LogViewController::sortLogsFromNotification);
    // After a login the session-log folders of every operation are there.
    QObject::connect(&shell.mainController(), &TXMainController::accountDidChange, logs,
                     [viewer = logs] { viewer->MoveOldLogsAtPath(SessionLogsFolder::fromApplicationFiles().path()); });
    tabs.setPageView(Tab::Log, logs);
}
