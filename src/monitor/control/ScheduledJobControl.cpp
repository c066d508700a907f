#include "monitor/control/ScheduledJobControl.h"

#include "common/files/ApplicationStatusFile.h"
#include "common/files/TextFile.h"
#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "monitor/logs/MonitorLogger.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PathStandardizer.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

namespace {

const QString kInteractive = ApplicationStatusFile::kIneractiveBackupStatusKey;
const QString kSchedule = ApplicationStatusFile::kSchedulerBackupStatusKey;

QString beside(const QString &file, const QString &name) { return QFileInfo(file).absolutePath() + '/' + name; }

}  // namespace

ScheduledJobControl::Paths ScheduledJobControl::Paths::fromTexts()
{
    return {QLLocalizedString(QStringLiteral("SchedulerStatus")),
            QLLocalizedString(QStringLiteral("SchedulerProgress")),
            PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("ApplicationPreferenceFile")))};
}

ScheduledJobControl::ScheduledJobControl(TarnixSchedulerController &store, DistributedNotificationCenter *notifications,
                                         Paths paths)
    : mStore(store)
    , mNotifications(notifications)
    , mPaths(std::move(paths))
{}

QString ScheduledJobControl::currentUser() const
{
    const QVariantMap login = StoredLoginDetails::lastUserDetails().value_or(QVariantMap());
    return login.value(Brand::pick(StoredLoginDetails::kTarnixUsername, StoredLoginDetails::kUsername)).toString();
}

bool ScheduledJobControl::isRuvoUser(const QString &userName) const
{
    return QFileInfo::exists(UserFiles::path(QStringLiteral("RuvoUserDetails"), userName));
}

ScheduledJobControl::Answer ScheduledJobControl::backupNow(const MakeImmediateItem &makeItem)
{
    QString message;
    if (!shouldExecuteBackup(&message))
        return {BackupNow::InteractiveRunning, message};
    const QString statePath = mStore.paths().schedulerState;
    if (mStore.tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>()).isEmpty())
        QFile::remove(statePath);
    const QString state = mStore.schedulerState().value_or(TarnixSchedulerController::kStateIdle);
    if (state != TarnixSchedulerController::kStateIdle)
        return {BackupNow::AlreadyScheduled,
                QLLocalizedString(
                    QStringLiteral("Immediate schedule has already been scheduled. Please try after it completes."))};
    const StoredItem stored = makeItem();
    if (!stored.item)
        return {BackupNow::NoBackupSet,
                QLLocalizedString(QStringLiteral("Please login to the Tarnix and configure a backup set"))};
    if (!stored.saved.saved())
        return {BackupNow::NotSaved, stored.saved.message};
    mStore.writeSchedulerState(TarnixSchedulerController::kStateImmediate);
    return {BackupNow::Scheduled, {}};
}

bool ScheduledJobControl::shouldExecuteBackup(QString *message) const
{
    if (!QFileInfo::exists(QLLocalizedString(QStringLiteral("ApplicationStatusPath"))))
        ApplicationStatusFile::setEntry(kSchedule, QString());  // made empty
    const QVariantMap status = ApplicationStatusFile::read();
    if (!status.contains(kInteractive) || status.value(kInteractive).toString() != currentUser())
        return true;
    if (message)
        *message = QLLocalizedString(
            QStringLiteral("Backup is in progress. Wait till it is complete to begin the backup on this machine."));
    return false;
}

bool ScheduledJobControl::isBackupInProgress() const
{
    const QVariantMap status = ApplicationStatusFile::read();
    if (status.contains(kSchedule)) {
        const QString running = status.value(kSchedule).toString();
        for (const TarnixScheduleItem &record :
             mStore.tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>()))
            if (record.tarnixUserName() == running)
                return true;
    }
    return status.contains(kInteractive) && status.value(kInteractive).toString() == currentUser();
}

QString ScheduledJobControl::showProgress(bool isRestoreProgress) const
{
    if (!isBackupInProgress() && !isRestoreProgress)
        return QLLocalizedString(QStringLiteral("No backup operation is in progress"));
    MonitorLogger::logMonitorTrace(QStringLiteral("Start of showProgress: In MonitorController"));
    if (mNotifications)
        mNotifications->postNotificationName(QStringLiteral("ShowInteractiveBackupProgress"));
    TextFile::write(mPaths.schedulerProgress, QStringLiteral("1"));
    MonitorLogger::logMonitorTrace(QStringLiteral("Exit of showProgress: In MonitorController"));
    return {};
}

QString ScheduledJobControl::throttleFile(const QString &userName) const
{
    return UserFiles::path(isRuvoUser(userName) ? QStringLiteral("BandwidthThrottleFilePathForRuvo")
                                                : QStringLiteral("BandwidthThrottleFilePath"),
                           userName);
}

void ScheduledJobControl::pauseResume(bool pause)
{
    const QString throttle = throttleFile(currentUser());
    const QString second = beside(throttle, QStringLiteral("TXThrottleB.txt"));
    const QString pauseFile = beside(throttle, QStringLiteral("pause.txt"));
    // The value a pause replaced, kept on disk too, so that a resume after a restart puts it back.
    const QString kept = beside(throttle, QStringLiteral("TXThrottleKept.txt"));
    if (pause) {
        TextFile::write(pauseFile, QStringLiteral("1"));
        const auto current = TextFile::read(throttle);
        if (current && current->trimmed() != QLatin1String("-1")) {
            mCurrentThrottleValue = *current;
            TextFile::write(kept, *current);
        }
        TextFile::write(throttle, QStringLiteral("-1"));
        TextFile::write(second, QStringLiteral("-1"));
        return;
    }
    TextFile::write(pauseFile, QStringLiteral("0"));
    const std::optional<QString> value = mCurrentThrottleValue ? mCurrentThrottleValue : TextFile::read(kept);
    if (value) {
        TextFile::write(throttle, *value);
        TextFile::write(second, *value);
    } else {
        QFile::remove(throttle);  // no limit was set: none is
        QFile::remove(second);
    }
    QFile::remove(kept);
    mCurrentThrottleValue.reset();
}

bool ScheduledJobControl::isPaused() const
{
    const QString pauseFile = beside(throttleFile(currentUser()), QStringLiteral("pause.txt"));
    return TextFile::read(pauseFile).value_or(QString()).trimmed() == QLatin1String("1");
}

void ScheduledJobControl::removeAllSchedules(bool disable) const
{
    TextFile::write(mPaths.schedulerStatus, disable ? QStringLiteral("0") : QStringLiteral("1"));
}

bool ScheduledJobControl::areAllSchedulesDisabled() const
{
    return TextFile::read(mPaths.schedulerStatus).value_or(QString()) == QLatin1String("0");
}

std::optional<QString> ScheduledJobControl::usernameOfJobInProgress() const
{
    for (const TarnixScheduleItem &record :
         mStore.tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>()))
        if (record.status() == TarnixScheduleItem::InProgress)
            return record.tarnixUserName();
    return std::nullopt;
}

bool ScheduledJobControl::triggerCutOffBackup(const QDateTime &now)
{
    const std::optional<QDateTime> lastCheck = std::exchange(mLastCutOffCheck, now);
    const auto user = usernameOfJobInProgress();
    if (!user)
        return false;
    const QVariantMap settings = PropertyList::readDictionary(mPaths.schedulerPreferences).value(*user).toMap();
    const QDateTime stored = settings.value(QStringLiteral("CutoffTimeKey")).toDateTime().toTimeZone(now.timeZone());
    if (!settings.value(QStringLiteral("EnableCutoffTimeKey")).toBool() || !stored.isValid())
        return false;
    // Only the hour and minute count, today.
    const QDateTime cutOff(now.date(), QTime(stored.time().hour(), stored.time().minute()), now.timeZone());
    const bool inItsMinute = cutOff <= now && now < cutOff.addSecs(60);
    const bool crossedSinceLastCheck = lastCheck && *lastCheck < cutOff && cutOff <= now;
    if (mCutOffFired == cutOff || !(inItsMinute || crossedSinceLastCheck))
        return false;
    mCutOffFired = cutOff;
    return mStore.writeSchedulerState(TarnixSchedulerController::kStateCutOff);
}
