#include "monitor/app/TarnixMonitorController.h"

#include "common/account/QuotaStatus.h"
#include "common/files/TextFile.h"
#include "common/logging/QLLogger.h"
#include "common/login/StoredLoginDetails.h"
#include "common/messaging/MessageSendingModule.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "desktop/alerts/AlertPresenter.h"
#include "monitor/app/ImmediateBackupRecord.h"
#include "monitor/app/MonitorMenuTags.h"
#include "monitor/app/MonitorView.h"
#include "monitor/context/MonitorContext.h"
#include "monitor/control/ScheduledJobControl.h"
#include "monitor/notify/DisplayController.h"
#include "monitor/notify/NotificationRules.h"
#include "monitor/schedules/ScheduleDateRules.h"
#include "monitor/schedules/TarnixSchedulerController.h"
#include "monitor/status/StatusRefresh.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/MainThread.h"
#include "platform/PathStandardizer.h"

#include <QFile>
#include <QProcess>

namespace {

const QString kUpgradeImage = QStringLiteral("TarnixUpgradeMenuIcon");
const QString kFirstBrandTrayImage = QStringLiteral("Portable_tray1");
const QString kPauseImage = QStringLiteral("TarnixPauseMenuIcon");
const QString kDisableAll = QStringLiteral("Disable all scheduled jobs");
const QString kEnableAll = QStringLiteral("Enable all scheduled jobs");
const QString kPauseTitle = QStringLiteral("Pause the scheduled job");
const QString kResumeTitle = QStringLiteral("Resume the scheduled job");
const QStringList kLogPeriods = {QStringLiteral("LastWeek"), QStringLiteral("LastTwoWeeks"),
                                 QStringLiteral("LastOneMonth"), QStringLiteral("FromTheBeginning")};

QString text(const char *key) { return QLLocalizedString(QString::fromUtf8(key)); }

void trace(const QString &line) { QLLogger::logMonitorTrace(line); }

}  // namespace

TarnixMonitorController::TarnixMonitorController(MonitorContext &context, MonitorView &view, DisplayController &display,
                                                 AlertPresenter &alerts, Clock clock)
    : mContext(context)
    , mView(view)
    , mDisplay(display)
    , mAlerts(alerts)
    , mClock(std::move(clock))
{
    mRefreshTimer.setInterval(mContext.timings().statusRefresh);
    connect(&mRefreshTimer, &QTimer::timeout, this, &TarnixMonitorController::checkForTotalQuota);
    mBlinkingTimer.setInterval(mContext.timings().blink);
    connect(&mBlinkingTimer, &QTimer::timeout, this, &TarnixMonitorController::blinkStatusImageOnQuotaExceed);
}

TarnixMonitorController::~TarnixMonitorController()
{
    // No message may reach a controller that is gone.
    mContext.messaging().setDelegate(nullptr);
}

void TarnixMonitorController::start()
{
    observeNotifications();

    MessageSendingModule &messaging = mContext.messaging();
    messaging.setDelegate(this);
    const QString machine = QLUtility::machineID();
    if (messaging.setupConnection(MessageSendingModule::monitorName(machine, MessageSendingModule::loginName()),
                                  MessageSendingModule::clientName(machine, MessageSendingModule::loginName())))
        messaging.sendIPCMessage(QString(), IPCMessageTypeHello, true);
    else
        trace(QStringLiteral("The monitor's message name is taken: another monitor of this user runs"));

    trace(QStringLiteral("Start of awakeFromNib"));
    mView.setStatusImages(text("ApplicationIcon"), text("ApplicationAlternateIcon"));
    mView.setToolTip(text("ApplicationName"));
    mIsRestoreProgress = false;
    mIsOperationInProgress = false;
    trace(QStringLiteral("Exit of awakeFromNib"));

    mLaunchFileAction = MonitorLaunchWord::take(PathStandardizer::standardizePath(text("MonitorLaunchFilePath")));
    actOnLaunchWord(mLaunchFileAction);

    if (mContext.jobControl().areAllSchedulesDisabled())
        mView.setItemTitle(MonitorMenuTags::kDisableAllSchedules, QLLocalizedString(kEnableAll));
    // The pause item says what the pause file says, also after a restart during a pause.
    const bool paused = mContext.jobControl().isPaused();
    mView.setItemTitle(MonitorMenuTags::kPauseResume, QLLocalizedString(paused ? kResumeTitle : kPauseTitle));

    const QString marker = PathStandardizer::standardizePath(text("TrayHelpMarkerFilePath"));
    if (QFile::exists(marker)) {
        mView.showTrayHelp();
        QFile::remove(marker);
    }

    checkForTotalQuota();
    mRefreshTimer.start();
}

// --- Messages ---

void TarnixMonitorController::didReceiveIPCMessage(const QVariantList &message)
{
    // The messaging thread never touches the tray item or a window.
    MainThread::runInThreadOf(this, [this, message] { handleIPCMessage(message); });
}

void TarnixMonitorController::handleIPCMessage(const QVariantList &message)
{
    if (message.size() < 2)
        return;
    const QVariant payload = message.at(0);
    switch (message.at(1).toString().toInt()) {
    case IPCMessageTypeDesktopNotification: {
        const QVariantMap details = payload.toMap();
        mSessionLogScheduledBackup = details.value(NotificationRules::kSessionLogPath).toString();
        mDisplay.displayDesktopNotfn(
            false, details.value(NotificationRules::kAccountType).toString() == QLatin1String("Business"), details);
        break;
    }
    case IPCMessageTypeToolTip:
        mView.setToolTip(payload.toString());
        break;
    case IPCMessageTypeHello:
        // Answered with another type, so that two programs never greet each other forever.
        mContext.messaging().sendIPCMessage(QString(), IPCMessageTypeHelloAnswer, true);
        break;
    case IPCMessageTypeClientRunState:
        if (payload.toString() == QLatin1String("Start"))
            mIsOperationInProgress = true;
        else if (payload.toString() == QLatin1String("Terminate"))
            mIsOperationInProgress = false;
        break;
    case IPCMessageTypeShellCommand:
    case IPCMessageTypeShellCommandOther:
        // A received text is data, never a command to run.
        trace(QStringLiteral("Ignored a command message from %1").arg(message.value(2).toString()));
        break;
    default:
        break;
    }
}

void TarnixMonitorController::observeNotifications()
{
    connect(&mContext.notifications(), &DistributedNotificationCenter::notificationReceived, this,
            [this](const QString &name, const QString &object, const QVariantMap &) {
                if (name == QLatin1String("TarnixPortableOpenPreferencesNotification"))
                    actOnLaunchWord(MonitorLaunchWord::actionForWord(object));
                else if (name == QLatin1String("TarnixPortableEnablePreferencesNotification"))
                    resetMonitorUI();
                else if (name == QLatin1String("ShowRestoreProgress"))
                    mIsRestoreProgress = true;
                else if (name == QLatin1String("HideRestoreProgress"))
                    mIsRestoreProgress = false;
                else if (kLogPeriods.contains(name))
                    mView.sortSessionLogs(name);
            });
}

void TarnixMonitorController::actOnLaunchWord(MonitorLaunchWord::Action action)
{
    switch (action) {
    case MonitorLaunchWord::Action::None:
        break;
    case MonitorLaunchWord::Action::SendErrorReport:
        showErrorReport();
        break;
    case MonitorLaunchWord::Action::OpenPreferences:
    case MonitorLaunchWord::Action::LockAndOpenPreferences:
        emit preferencesRequested(false);
        break;
    case MonitorLaunchWord::Action::OpenExclusionPreferences:
        emit preferencesRequested(true);
        break;
    }
}

QString TarnixMonitorController::currentUser() const { return mContext.jobControl().currentUser(); }

// --- The status refresh ---

void TarnixMonitorController::checkForTotalQuota()
{
    ScheduledJobControl &control = mContext.jobControl();
    const bool jobRuns = control.enableDisableManageSubMenus();
    mView.setItemEnabled(MonitorMenuTags::kPauseResume, jobRuns);
    mView.setItemEnabled(MonitorMenuTags::kStopScheduledJob, jobRuns);

    const QDateTime now = mClock();
    const StatusRefresh::Outcome outcome = mContext.statusRefresh().checkForTotalQuota(now);
    // One timer while the quota is used up, whatever stopped it meanwhile; none once it recovered.
    if (mContext.statusRefresh().isBlinking()) {
        if (!mBlinkingTimer.isActive())
            mBlinkingTimer.start();
    } else {
        mBlinkingTimer.stop();
    }
    if (outcome.resetImages)
        mView.setStatusImages(text("ApplicationIcon"), text("ApplicationAlternateIcon"));
    if (outcome.toolTip)
        mView.setToolTip(*outcome.toolTip);
    if (control.triggerCutOffBackup(now))
        trace(QStringLiteral("The cut-off time of the running scheduled job has come"));
}

void TarnixMonitorController::resetMonitorUI()
{
    // A new login: the brand's plain tray item until the next refresh says otherwise.
    mView.setToolTip(text("ApplicationName"));
    mView.setStatusImages(text("ApplicationIcon"), text("ApplicationAlternateIcon"));
    mBlinkingTimer.stop();
}

void TarnixMonitorController::blinkStatusImageOnQuotaExceed()
{
    mView.setStatusImage(mView.statusImage() == kUpgradeImage ? kFirstBrandTrayImage : kUpgradeImage);
}

// --- The status menu ---

void TarnixMonitorController::applyAlertMessage(const QString &message)
{
    if (!message.isEmpty())
        mView.displayWindowWithAlertMsg(message);
}

void TarnixMonitorController::backupNow()
{
    TarnixSchedulerController &store = mContext.schedules();
    QString interactive;
    if (!mContext.jobControl().shouldExecuteBackup(&interactive)) {
        mAlerts.inform(interactive);  // the user's own backup runs: wait for it
        return;
    }
    const ScheduledJobControl::Answer answer = mContext.jobControl().backupNow([&store, this] {
        store.tarnixInitializeSchedulerSettings();
        ScheduledJobControl::StoredItem stored{ImmediateBackupRecord::backupNow(store.configuredSchedules(), mClock()),
                                               {}};
        if (stored.item)
            stored.saved = store.tarnixaddSchedulerDetails(*stored.item);
        return stored;
    });
    if (answer.result == ScheduledJobControl::BackupNow::Scheduled)
        mView.displayWindowWithAlertMsg(QLLocalizedString(
            QStringLiteral("The immediate backup has been scheduled, it will commence in a few seconds")));
    else
        applyAlertMessage(answer.message);
}

void TarnixMonitorController::pauseResume(int tag)
{
    if (tag != MonitorMenuTags::kPauseResume)
        return;
    const bool pause = mView.itemTitle(tag).toLower().contains(QLatin1String("pause"));
    mContext.jobControl().pauseResume(pause);
    mView.setItemTitle(tag, QLLocalizedString(pause ? kResumeTitle : kPauseTitle));
    mView.setStatusImage(pause ? kPauseImage : text("ApplicationIcon"));
}

void TarnixMonitorController::removeAllSchedules()
{
    const bool disable = mView.itemTitle(MonitorMenuTags::kDisableAllSchedules) == QLLocalizedString(kDisableAll);
    mContext.jobControl().removeAllSchedules(disable);
    mView.setItemTitle(MonitorMenuTags::kDisableAllSchedules, QLLocalizedString(disable ? kEnableAll : kDisableAll));
}

void TarnixMonitorController::showProgress()
{
    applyAlertMessage(mContext.jobControl().showProgress(mIsRestoreProgress));
}

void TarnixMonitorController::cancelBackupFromSubmenu()
{
    const AlertRequest question{
        text("ApplicationName"),
        QLLocalizedString(QStringLiteral("Are you sure you wish to stop the scheduled backup operation?")),
        text("OK"),
        QStringLiteral("Cancel"),
        {},
        {}};
    if (!mAlerts.confirm(question))
        return;
    // Only a running job is stopped: a stale stop request would end the next one.
    if (!mContext.schedules().requestStopOfRunningJob())
        mView.displayWindowWithAlertMsg(QLLocalizedString(QStringLiteral("No backup operation is in progress")));
}

void TarnixMonitorController::showStatusWindow()
{
    const QString user = StoredLoginDetails::lastUserDetails()
                             .value_or(QVariantMap())
                             .value(StoredLoginDetails::kTarnixUsername)
                             .toString();
    const QuotaStatus::Plan plan = QuotaStatus::getPlanForUser(user);
    mIsBusinessUser = plan == QuotaStatus::Plan::Business;
    QVariantMap details = QuotaStatus::constructDetailsforDesktopNotificationWindowForUser(
        user, QuotaStatus::getQuotaDetailsForUser(user), plan);
    const QList<TarnixScheduleItem> records =
        mContext.schedules().tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>());
    const auto next = ScheduleDateRules::nextScheduledItem(records, mClock());
    details.insert(NotificationRules::kNextScheduledItem, next ? records[*next].scheduleTimeString() : QString());
    if (mIsOperationInProgress)
        details.insert(NotificationRules::kStatusMessage,
                       QLLocalizedString(QStringLiteral("Scheduled backup is in progress")));
    mDisplay.displayDesktopNotfn(true, mIsBusinessUser, details);
}

void TarnixMonitorController::viewLog() { mView.showSessionLogList(); }

void TarnixMonitorController::showSchedules() { mView.showSchedules(); }

void TarnixMonitorController::showErrorReport()
{
    trace(QStringLiteral("Start of showErrorReport: In MonitorController"));
    mView.showErrorReport();
    trace(QStringLiteral("Exit of showErrorReport: In MonitorController"));
}

void TarnixMonitorController::viewSessionLog() { mView.showSessionLogViewer(); }

void TarnixMonitorController::openLogfile()
{
    if (!mSessionLogScheduledBackup.isEmpty())
        mView.openLogFile(mSessionLogScheduledBackup);
}

void TarnixMonitorController::launchApplication()
{
    if (QProcess::startDetached(text("ApplicationExecPath"), {}))
        return;
    if (!QProcess::startDetached(text("ApplicationExecName"), {}))
        mView.displayWindowWithAlertMsg(QLLocalizedString(QStringLiteral("The application could not be opened.")));
}
