#include "monitor/views/MonitorWindows.h"

#include "common/messaging/MessageSendingModule.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/alerts/views/AlertPanePresenter.h"
#include "desktop/errorreport/ErrorReport.h"
#include "desktop/errorreport/views/SendErrorReportController.h"
#include "desktop/kit/views/winBGView.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "desktop/logs/views/LogViewController.h"
#include "monitor/views/LogFileWindow.h"
#include "monitor/views/PreferencesWindowView.h"
#include "monitor/views/StatusItem.h"
#include "monitor/views/TrayHelpBalloon.h"
#include "monitor/views/schedules/ScheduleWindow.h"
#include "monitor/views/sessionlogs/SessionLogListWindow.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PathStandardizer.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString windowText(const char *key) { return QLLocalizedString(QString::fromUtf8(key)); }

}  // namespace

MonitorWindows::MonitorWindows(const MonitorTimings &timings, DistributedNotificationCenter &notifications,
                               TarnixSchedulerController &schedules, MessageSendingModule &messaging,
                               std::function<bool(const QString &)> openWithTextEditor)
    : mTimings(timings)
    , mNotifications(notifications)
    , mSchedules(schedules)
    , mMessaging(messaging)
    , mOpenWithTextEditor(std::move(openWithTextEditor))
    , mStatusItem(std::make_unique<StatusItem>())
    , mAlerts(std::make_unique<AlertPanePresenter>())
    , mLogFile(std::make_unique<LogFileWindow>())
{
    const QString folder = PathStandardizer::standardizePath(windowText("SessionLogsFolderPath"));
    mSessionLogList =
        std::make_unique<SessionLogListWindow>(folder, [this](const QString &path) { openLogFile(path); });
}

MonitorWindows::~MonitorWindows() = default;

void MonitorWindows::setStatusImages(const QString &image, const QString &alternateImage)
{
    mStatusItem->setImages(image, alternateImage);
}

void MonitorWindows::setStatusImage(const QString &image) { mStatusItem->setImage(image); }

QString MonitorWindows::statusImage() const { return mStatusItem->image(); }

void MonitorWindows::setToolTip(const QString &text) { mStatusItem->setToolTip(text); }

QString MonitorWindows::itemTitle(int tag) const
{
    const QAction *item = mStatusItem->itemWithTag(tag);
    return item ? item->text() : QString();
}

void MonitorWindows::setItemTitle(int tag, const QString &title)
{
    if (QAction *item = mStatusItem->itemWithTag(tag))
        item->setText(title);
}

void MonitorWindows::setItemEnabled(int tag, bool enabled)
{
    if (QAction *item = mStatusItem->itemWithTag(tag))
        item->setEnabled(enabled);
}

void MonitorWindows::displayWindowWithAlertMsg(const QString &message)
{
    mAlerts->showAlert({QLLocalizedString(QStringLiteral("ApplicationName")), message, windowText("OK"), {}, {}, {}});
}

void MonitorWindows::showSessionLogList() { mSessionLogList->viewLog(); }

void MonitorWindows::showSessionLogViewer()
{
    if (!mSessionLogWindow) {
        mSessionLogWindow = std::make_unique<winBGView>();
        mSessionLogWindow->setWindowFlag(Qt::Window);
        mSessionLogWindow->setWindowTitle(QLLocalizedString(QStringLiteral("Session Logs")));
        mSessionLogWindow->resize(820, 560);
        LogViewController::Hooks hooks;
        hooks.chooseFolder = [this] { return QFileDialog::getExistingDirectory(mSessionLogWindow.get()); };
        hooks.openLink = [](const QUrl &url) { QDesktopServices::openUrl(url); };
        // Both programs' viewers hear the period and show it (sortSessionLogs).
        hooks.postPeriod = [this](const QString &period) { mNotifications.postNotificationName(period); };
        mLogViewController = new LogViewController(SessionLogsFolder::fromApplicationFiles(), *mAlerts, hooks);
        auto *layout = new QVBoxLayout(mSessionLogWindow.get());
        layout->addWidget(mLogViewController);
    }
    mLogViewController->reloadLogViewOnTableViewSelectionChange();
    mSessionLogWindow->show();
    mSessionLogWindow->raise();
}

void MonitorWindows::sortSessionLogs(const QString &periodNotification)
{
    if (mLogViewController)
        mLogViewController->sortLogsFromNotification(periodNotification);
}

void MonitorWindows::openLogFile(const QString &path)
{
    if (!mOpenWithTextEditor || !mOpenWithTextEditor(path))
        mLogFile->openLogViewerForFile(path);
}

void MonitorWindows::showErrorReport()
{
    if (!mErrorReport)
        mErrorReport = std::make_unique<SendErrorReportController>(*mAlerts);
    mErrorReport->showErrorReportWindow();
}

void MonitorWindows::showSchedules()
{
    if (!mScheduleWindow)
        mScheduleWindow = std::make_unique<ScheduleWindow>(mSchedules, *mAlerts);
    mScheduleWindow->showSchedulerMainWindow();
}

void MonitorWindows::showPreferences(bool exclusionPane)
{
    if (!mPreferences)
        mPreferences =
            std::make_unique<PreferencesWindowView>(*mAlerts, mNotifications, [this](const QString &payload, int type) {
                mMessaging.sendIPCMessage(payload, type, false);
            });
    const QString userName = ErrorReport::lastUserName().value_or(QString());
    mPreferences->setLocked(userName.isEmpty());
    mPreferences->showPreferences(userName, ErrorReport::isNewArchitecture());
    mPreferences->selectPane(exclusionPane ? 1 : 0);
}

void MonitorWindows::showTrayHelp()
{
    mTrayHelp = std::make_unique<TrayHelpBalloon>(mTimings.trayHelp);
    mTrayHelp->showBelow(mStatusItem->trayIcon().geometry());
}
