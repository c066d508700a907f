#include "daemon/JobSchedule.h"

#include "monitor/schedules/ScheduleDateRules.h"

#include <QTimeZone>

namespace JobSchedule {
namespace {

// The monitor's rules take its record; the daemon fills one from its own reading.
TarnixScheduleItem asRecord(const ArchivedJob &job, const QVariantList &days)
{
    TarnixScheduleItem record;
    record.setFrequency(job.frequency());
    record.setScheduleTime(job.scheduleTime());
    record.setSelectedDaysForSchedule(days);
    return record;
}

bool isPendingOneOff(const ArchivedJob &job) { return job.frequency() == Immediate && job.status() == NoStatus; }

}  // namespace

std::optional<QDateTime> nextRunAfter(const ArchivedJob &job, const QDateTime &now)
{
    const QDateTime scheduled = job.scheduleTime().toTimeZone(now.timeZone());
    const QDateTime pastTheRun = now.addSecs(61);
    switch (job.frequency()) {
    case Hourly: {
        const qint64 hoursBehind = std::max<qint64>(0, scheduled.secsTo(now) / 3600);
        QDateTime next = scheduled.addSecs((hoursBehind + 1) * 3600);
        return next > now ? next : next.addSecs(3600);
    }
    case Daily:
        return ScheduleDateRules::nextscheduleDateForDailySchedule(scheduled.time(), pastTheRun);
    case Weekdays:
        return ScheduleDateRules::nextScheduleDateFromTheSelectedDaysArray(asRecord(job, {1, 2, 3, 4, 5}), pastTheRun);
    case SelectedDays:
        return ScheduleDateRules::nextScheduleDateFromTheSelectedDaysArray(asRecord(job, job.selectedDays()),
                                                                           pastTheRun);
    case Monthly:
        return ScheduleDateRules::monthlyRun(scheduled.date().day(), scheduled.time(), pastTheRun).time;
    default:
        return std::nullopt;
    }
}

std::optional<Pick> pickNext(const QList<ArchivedJob> &jobs, const Scan &scan)
{
    const auto startsNow = [&scan](const ArchivedJob &job) {
        const bool userBusy = !scan.busyUser.isEmpty()
                              && (job.username() == scan.busyUser || job.tarnixUserName() == scan.busyUser);
        return job.isSchedule() && job.status() != InProgress && !userBusy;
    };
    if (scan.immediateRequested)
        for (qsizetype i = 0; i < jobs.size(); ++i)
            if (startsNow(jobs[i]) && isPendingOneOff(jobs[i]))
                return Pick{Pick::Run, i};
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const ArchivedJob &job = jobs[i];
        const QDateTime time = job.scheduleTime();
        if (!startsNow(job) || !time.isValid() || time > scan.now)
            continue;
        if (isPendingOneOff(job))
            return Pick{Pick::Run, i};  // the user's own request: late or not, it runs
        if (job.frequency() == Immediate || !scan.schedulesEnabled)
            continue;
        const bool missed = time.secsTo(scan.now) > scan.missedAfter.count();
        return Pick{missed && !job.shouldStartMissedScheduleBackup() ? Pick::SkipMissed : Pick::Run, i};
    }
    return std::nullopt;
}

}  // namespace JobSchedule
