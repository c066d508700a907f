#pragma once

#include "monitor/app/MonitorView.h"
#include "monitor/context/MonitorTimings.h"

#include <QObject>

#include <functional>
#include <memory>

class AlertPanePresenter;
class DistributedNotificationCenter;
class LogFileWindow;
class LogViewController;
class NotificationWindow;
class SendErrorReportController;
class MessageSendingModule;
class PreferencesWindowView;
class ScheduleWindow;
class SessionLogListWindow;
class TarnixSchedulerController;
class StatusItem;
class TrayHelpBalloon;
class QWidget;

// The monitor's tray item and windows behind MonitorView: the status menu, the
// alert window, the session-log list, the session-log viewer (the client's
// viewer in a window of its own), the log-file window and the tray help.
class MonitorWindows : public QObject, public MonitorView
{
    Q_OBJECT
public:
    // openWithTextEditor: true when another program shows the file.
    MonitorWindows(const MonitorTimings &timings, DistributedNotificationCenter &notifications,
                   TarnixSchedulerController &schedules, MessageSendingModule &messaging,
                   std::function<bool(const QString &path)> openWithTextEditor);
    ~MonitorWindows() override;

    void setStatusImages(const QString &image, const QString &alternateImage) override;
    void setStatusImage(const QString &image) override;
    QString statusImage() const override;
    void setToolTip(const QString &text) override;
    QString itemTitle(int tag) const override;
    void setItemTitle(int tag, const QString &title) override;
    void setItemEnabled(int tag, bool enabled) override;
    void displayWindowWithAlertMsg(const QString &message) override;
    void showSessionLogList() override;
    void showSessionLogViewer() override;
    void sortSessionLogs(const QString &periodNotification) override;
    void openLogFile(const QString &path) override;
    void showErrorReport() override;
    void showSchedules() override;
    void showPreferences(bool exclusionPane) override;
    void showTrayHelp() override;

    StatusItem &statusItem() { return *mStatusItem; }
    AlertPanePresenter &alerts() { return *mAlerts; }
    SessionLogListWindow &sessionLogList() { return *mSessionLogList; }
    LogFileWindow &logFileWindow() { return *mLogFile; }
    // The viewer window; none before its first showing.
    QWidget *sessionLogWindow() const { return mSessionLogWindow.get(); }
    LogViewController *logViewController() const { return mLogViewController; }
    TrayHelpBalloon *trayHelp() const { return mTrayHelp.get(); }
    // The preferences window; none before its first showing.
    PreferencesWindowView *preferences() const { return mPreferences.get(); }
    // The schedule list window; none before its first showing.
    ScheduleWindow *scheduleWindow() const { return mScheduleWindow.get(); }
    // The error report; none before its first showing.
    SendErrorReportController *errorReport() const { return mErrorReport.get(); }

private:
    MonitorTimings mTimings;
    DistributedNotificationCenter &mNotifications;
    TarnixSchedulerController &mSchedules;
    MessageSendingModule &mMessaging;
    std::function<bool(const QString &)> mOpenWithTextEditor;
    std::unique_ptr<StatusItem> mStatusItem;
    std::unique_ptr<AlertPanePresenter> mAlerts;
    std::unique_ptr<LogFileWindow> mLogFile;
    std::unique_ptr<SessionLogListWindow> mSessionLogList;
    std::unique_ptr<QWidget> mSessionLogWindow;
    LogViewController *mLogViewController = nullptr;  // owned by its window
    std::unique_ptr<TrayHelpBalloon> mTrayHelp;
    std::unique_ptr<ScheduleWindow> mScheduleWindow;
    std::unique_ptr<PreferencesWindowView> mPreferences;
    std::unique_ptr<SendErrorReportController> mErrorReport;
};
