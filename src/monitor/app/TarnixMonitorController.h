#pragma once

#include "common/account/QuotaStatus.h"
#include "common/messaging/IPCMessageDelegate.h"
#include "monitor/app/MonitorLaunchWord.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <functional>

class AlertPresenter;
class DisplayController;
class MonitorContext;
class MonitorView;

// The tray program's logic: its start-up, the messages of the client and the
// backup daemon, the one-word launch file, the status refresh with the
// blinking quota warning, and the status menu's actions, which write the
// control files the daemon reads. It shows everything through MonitorView,
// the notification window through DisplayController, questions through the
// alert presenter; it runs without a display.
class TarnixMonitorController : public QObject, public IPCMessageDelegate
{
    Q_OBJECT
public:
    // Message types between the monitor, the client and the daemon.
    enum MessageType
    {
        IPCMessageTypeDesktopNotification = 1,
        IPCMessageTypeToolTip = 2,
        IPCMessageTypeHello = 3,
        IPCMessageTypeClientRunState = 4,
        IPCMessageTypeShellCommand = 5,
        IPCMessageTypeShellCommandOther = 6,
        IPCMessageTypeHelloAnswer = 8,
    };

    using Clock = std::function<QDateTime()>;

    TarnixMonitorController(
        MonitorContext &context, MonitorView &view, DisplayController &display, AlertPresenter &alerts,
        Clock clock = [] { return QDateTime::currentDateTime(); });
    ~TarnixMonitorController() override;

    // The start-up: messaging and the hello, the tray item, the launch word,
    // the scheduler items, the tray help, the first status refresh and its timer.
    void start();

    // Messages arrive on the messaging thread and are handled on the main thread.
    void didReceiveIPCMessage(const QVariantList &message) override;
    void handleIPCMessage(const QVariantList &message);

    // --- The status refresh ---
    void checkForTotalQuota();
    void blinkStatusImageOnQuotaExceed();
    // A user logged in to the client: the plain tray item again, no blinking until the next refresh.
    void resetMonitorUI();
    bool isBlinking() const { return mBlinkingTimer.isActive(); }

    // --- The status menu ---
    void backupNow();
    // Acts only for the pause item (MonitorMenuTags::kPauseResume).
    void pauseResume(int tag);
    void removeAllSchedules();
    void showProgress();
    void cancelBackupFromSubmenu();
    void showStatusWindow();
    void viewLog();
    void showErrorReport();
    void showSchedules();
    void viewSessionLog();
    void launchApplication();
    // The notification window's View Log: the log of the last notified backup.
    void openLogfile();

    bool isOperationInProgress() const { return mIsOperationInProgress; }
    QString lastNotifiedSessionLog() const { return mSessionLogScheduledBackup; }
    // What the launch file asked for at the start; None without one.
    MonitorLaunchWord::Action launchFileAction() const { return mLaunchFileAction; }

signals:
    // A launch word or notification asked for the preferences (and which pane).
    void preferencesRequested(bool exclusionPane);

private:
    void actOnLaunchWord(MonitorLaunchWord::Action action);
    void observeNotifications();
    QString currentUser() const;
    void applyAlertMessage(const QString &message);

    MonitorContext &mContext;
    MonitorView &mView;
    DisplayController &mDisplay;
    AlertPresenter &mAlerts;
    Clock mClock;
    QTimer mRefreshTimer;
    QTimer mBlinkingTimer;
    bool mIsOperationInProgress = false;
    bool mIsRestoreProgress = false;
    bool mIsBusinessUser = false;
    QString mSessionLogScheduledBackup;
    MonitorLaunchWord::Action mLaunchFileAction = MonitorLaunchWord::Action::None;
};
