#include "daemon/BackupDaemon.h"

#include "daemon/JobArchive.h"

#include "common/account/QuotaStatus.h"
#include "common/files/ApplicationStatusFile.h"
#include "common/files/TextFile.h"
#include "common/logging/QLBackupProgressLogger.h"
#include "common/login/UserFiles.h"
#include "common/messaging/MessageSendingModule.h"
#include "common/texts/QLLocalizedString.h"

#include <QFileInfo>
#include <QLocale>

namespace {

// Message types the monitor handles.
constexpr int kDesktopNotification = 1;
constexpr int kToolTip = 2;
constexpr int kClientRunState = 4;

const QString kStateKey = QStringLiteral("SchedulerState");
const QString kStatusKey = QStringLiteral("SchedulerStatus");
const QString kIdle = QStringLiteral("0");

QString archivePath() { return QLLocalizedString(QStringLiteral("SchedulerSettingsFile")); }

// The throttle file the monitor writes for the account's kind.
QString throttleFile(const QString &userName)
{
    const bool storageServer = QFileInfo::exists(UserFiles::path(QStringLiteral("RuvoUserDetails"), userName));
    return UserFiles::path(storageServer ? QStringLiteral("BandwidthThrottleFilePathForRuvo")
                                         : QStringLiteral("BandwidthThrottleFilePath"),
                           userName);
}

// The monitor pauses a job with "1" in pause.txt beside the throttle file and "-1" in the throttle file.
bool pausedByMonitor(const QString &userName)
{
    const QString throttle = throttleFile(userName);
    const QString pause = QFileInfo(throttle).absolutePath() + QStringLiteral("/pause.txt");
    return TextFile::read(pause).value_or(QString()).trimmed() == QLatin1String("1") ||
           TextFile::read(throttle).value_or(QString()).trimmed() == QLatin1String("-1");
}

}  // namespace

BackupDaemon::BackupDaemon(Timings timings, Clock clock, MessageSendingModule *messenger, QObject *parent)
    : QObject(parent)
    , mTimings(std::move(timings))
    , mClock(std::move(clock))
    , mMessenger(messenger)
{
    mPoll.setInterval(mTimings.poll);
    connect(&mPoll, &QTimer::timeout, this, &BackupDaemon::tick);
}

BackupDaemon::~BackupDaemon() = default;

void BackupDaemon::start()
{
    trace(QStringLiteral("Daemon started"));
    recoverLeftovers();
    mPoll.start();
    tick();
}

void BackupDaemon::stop()
{
    mStopping = true;
    if (!mRunning) {
        mPoll.stop();
        emit stopped();
        return;
    }
    // The scans go on, repeating the cancel, until the job has ended.
    mRunning->stopAsked = true;
    mRunning->backup->cancel();
}

void BackupDaemon::recoverLeftovers()
{
    QString error;
    const bool done = JobArchive::update(
        archivePath(),
        [](QList<ArchivedJob> &jobs) {
            bool changed = false;
            for (ArchivedJob &job : jobs)
                if (job.isSchedule() && job.status() == JobSchedule::InProgress) {
                    job.setStatus(JobSchedule::Canceled);  // its daemon ended before it did
                    changed = true;
                }
            return changed;
        },
        &error);
    if (!done)
        trace(QStringLiteral("Cannot read the schedules: %1").arg(error));
    setScheduleEntry(QString());
}

void BackupDaemon::tick()
{
    if (mRunning)
        followRunningJob();
    else if (!mStopping)
        startDueJob();
}

void BackupDaemon::followRunningJob()
{
    if (mRunning->stopAsked) {
        mRunning->backup->cancel();  // again at every scan until it ends: an engine started meanwhile stops too
        return;
    }
    const QString state = readControl(kStateKey);
    if (state == QLatin1String("3") || state == QLatin1String("5")) {
        trace(QStringLiteral("%1 for the job of %2")
                  .arg(state == QLatin1String("3") ? "Stop requested" : "Cut-off time reached", mRunning->userName));
        mRunning->stopAsked = true;
        writeControl(kStateKey, kIdle);  // the request is taken
        mRunning->backup->cancel();
        return;
    }
    mRunning->backup->pause(pausedByMonitor(mRunning->tarnixUserName));
}

void BackupDaemon::startDueJob()
{
    const QString state = readControl(kStateKey);
    JobSchedule::Scan scan;
    scan.now = mClock();
    scan.immediateRequested = state == QLatin1String("2");
    scan.schedulesEnabled = readControl(kStatusKey) != kIdle;
    scan.missedAfter = mTimings.missedAfter;
    scan.busyUser = ApplicationStatusFile::read().value(ApplicationStatusFile::kIneractiveBackupStatusKey).toString();
    if (state == QLatin1String("3") || state == QLatin1String("5"))
        writeControl(kStateKey, kIdle);  // nothing runs: a stale stop must not end the next job

    std::optional<ArchivedJob> claimed;
    QString error;
    const bool read = JobArchive::update(
        archivePath(),
        [&](QList<ArchivedJob> &jobs) {
            bool changed = false;
            while (const auto pick = JobSchedule::pickNext(jobs, scan)) {
                ArchivedJob &job = jobs[pick->index];
                if (pick->kind == JobSchedule::Pick::SkipMissed) {
                    const auto next = JobSchedule::nextRunAfter(job, scan.now);
                    trace(QStringLiteral("Missed the job of %1 at %2; next run %3")
                              .arg(job.username(), job.scheduleTime().toString(Qt::ISODate),
                                   next ? next->toString(Qt::ISODate) : QStringLiteral("none")));
                    if (!next)
                        return changed;  // not a repeating job: nothing to move on
                    job.setScheduleTime(*next);
                    changed = true;
                    continue;
                }
                job.ensureIdentity();
                job.setStatus(JobSchedule::InProgress);
                claimed = job;
                return true;
            }
            return changed;
        },
        &error);
    if (!read)
        trace(QStringLiteral("Cannot use the schedules: %1").arg(error));
    if (scan.immediateRequested)
        writeControl(kStateKey, kIdle);  // the immediate request is taken
    if (!claimed)
        return;

    mRunning = std::make_unique<RunningJob>();
    mRunning->identity = claimed->identity();
    mRunning->userName = claimed->username();
    mRunning->tarnixUserName = claimed->tarnixUserName();
    mRunning->notify = claimed->displayDesktopNotification();
    trace(QStringLiteral("Starting the scheduled backup of %1").arg(mRunning->userName));
    QLBackupProgressLogger::progressLogger().logDaemonSession(
        QStringLiteral("Scheduled backup of %1 started").arg(mRunning->userName), true);
    setScheduleEntry(mRunning->tarnixUserName);
    send(QStringLiteral("Start"), kClientRunState);
    send(QLLocalizedString(QStringLiteral("Scheduled backup is in progress")), kToolTip);
    mRunning->backup = std::make_unique<ScheduledBackup>(
        ScheduledBackup::Job{claimed->username(), claimed->processReferenceFile(), claimed->destination(),
                             claimed->scheduleType()},
        mTimings.session, mTimings.index, [this](const ScheduledBackup::Result &result) { jobEnded(result); });
    mRunning->backup->start();
}

void BackupDaemon::jobEnded(const ScheduledBackup::Result &result)
{
    const QDateTime now = mClock();
    const int status =
        result.end == ScheduledBackup::Result::End::Completed ? JobSchedule::Completed : JobSchedule::Canceled;
    const QString identity = mRunning->identity;
    setScheduleEntry(QString());  // first, so that whoever sees the record's end finds no job running
    QString error;
    if (!JobArchive::update(
            archivePath(),
            [&](QList<ArchivedJob> &jobs) {
                for (ArchivedJob &job : jobs)
                    if (job.isSchedule() && job.identity() == identity) {
                        job.setStatus(status);
                        if (const auto next = JobSchedule::nextRunAfter(job, now))
                            job.setScheduleTime(*next);
                        return true;
                    }
                return false;  // deleted meanwhile
            },
            &error))
        trace(QStringLiteral("Cannot record the end of the job of %1: %2").arg(mRunning->userName, error));

    static const char *const endWords[] = {"completed", "cancelled", "failed"};
    const QString summary =
        QStringLiteral("Scheduled backup of %1 %2: %3 backed up, %4 failed%5")
            .arg(mRunning->userName, QLatin1String(endWords[int(result.end)]))
            .arg(result.successCount)
            .arg(result.failureCount)
            .arg(result.message.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(result.message));
    trace(summary);
    QLBackupProgressLogger::progressLogger().logDaemonSession(summary, true);
    send(notification(result), kDesktopNotification);
    send(QStringLiteral("Terminate"), kClientRunState);

    // The session is still on the stack that told its end: it goes once that has unwound.
    QTimer::singleShot(0, this, [this] {
        mRunning.reset();
        emit jobFinished();
        if (mStopping) {
            mPoll.stop();
            emit stopped();
        }
    });
}

QVariantMap BackupDaemon::notification(const ScheduledBackup::Result &result) const
{
    const QString user = mRunning->tarnixUserName.isEmpty() ? mRunning->userName : mRunning->tarnixUserName;
    QVariantMap payload = QuotaStatus::constructDetailsforDesktopNotificationWindowForUser(
        user, QuotaStatus::getQuotaDetailsForUser(user), QuotaStatus::getPlanForUser(user));
    payload.insert(QStringLiteral("SuccessCount"), QString::number(result.successCount));
    payload.insert(QStringLiteral("SyncFileCount"), QString::number(result.syncFileCount));
    payload.insert(QStringLiteral("FailureCount"), QString::number(result.failureCount));
    payload.insert(QStringLiteral("TotalCount"), QString::number(result.totalCount));
    payload.insert(QStringLiteral("SessionLogPath"), result.sessionLogPath);
    if (result.end == ScheduledBackup::Result::End::Canceled)
        payload.insert(QStringLiteral("ErrorMessage"), QStringLiteral("The scheduled backup was stopped."));
    else if (result.end == ScheduledBackup::Result::End::Failed)
        payload.insert(QStringLiteral("ErrorMessage"),
                       QStringLiteral("The scheduled backup failed: %1").arg(result.message));
    if (!mRunning->notify)
        payload.insert(QStringLiteral("ShouldForceHide"), QStringLiteral("YES"));

    const QList<ArchivedJob> jobs = JobArchive::read(archivePath()).value_or(QList<ArchivedJob>());
    const auto next = JobSchedule::soonestRepeatingJob(jobs, mClock());
    // The schedule list's time form, "Mon Jan 05 2026 09:00:00 AM".
    payload.insert(
        QStringLiteral("NextScheduledItem"),
        next ? QLocale::c().toString(jobs[*next].scheduleTime(), QStringLiteral("ddd MMM dd yyyy hh:mm:ss AP"))
             : QString());
    return payload;
}

void BackupDaemon::setScheduleEntry(const QString &userName)
{
    if (!ApplicationStatusFile::setEntry(ApplicationStatusFile::kSchedulerBackupStatusKey, userName))
        trace(QStringLiteral("Cannot write the status file"));
}

void BackupDaemon::send(const QVariant &payload, int type)
{
    if (mMessenger)
        mMessenger->sendIPCMessage(payload, type, false);
}

void BackupDaemon::trace(const QString &line) const
{
    QLBackupProgressLogger::progressLogger().logDaemonTrace(line, true);
}

QString BackupDaemon::readControl(const QString &key)
{
    return TextFile::read(QLLocalizedString(key)).value_or(QString()).trimmed();
}

void BackupDaemon::writeControl(const QString &key, const QString &value)
{
    TextFile::write(QLLocalizedString(key), value);
}
