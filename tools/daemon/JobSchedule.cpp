#include "daemon/JobSchedule.h"

#include <QTimeZone>

namespace JobSchedule {
namespace {

// The day at the wall-clock time in now's zone; a time a daylight-saving gap
// skips is read with the offset before the gap (it moves forward by the gap).
QDateTime at(const QDate &day, const QTime &time, const QDateTime &now)
{
    const QDateTime local(day, time, now.timeZone());
    if (local.isValid())
        return local;
    const QDateTime asUtc(day, time, QTimeZone::utc());
    return asUtc.addSecs(-now.timeZone().offsetFromUtc(asUtc.addDays(-1))).toTimeZone(now.timeZone());
}

// The first of the next eight days, today included, whose weekday (0 Sunday) is
// chosen, at the time, later than now; a week on when none is chosen.
QDateTime nextChosenDay(const QList<int> &weekdays, const QTime &time, const QDateTime &now)
{
    for (int offset = 0; offset < 8; ++offset) {
        const QDate day = now.date().addDays(offset);
        const QDateTime run = at(day, time, now);
        if (weekdays.contains(day.dayOfWeek() % 7) && run > now)
            return run;
    }
    return at(now.date().addDays(7), time, now);
}

bool isPendingOneOff(const ArchivedJob &job) { return job.frequency() == Immediate && job.status() == NoStatus; }

}  // namespace

std::optional<QDateTime> nextRunAfter(const ArchivedJob &job, const QDateTime &now)
{
    const QDateTime scheduled = job.scheduleTime().toTimeZone(now.timeZone());
    const QTime time(scheduled.time().hour(), scheduled.time().minute(), scheduled.time().second());
    switch (job.frequency()) {
    case Hourly: {
        const qint64 hoursBehind = std::max<qint64>(0, scheduled.secsTo(now) / 3600);
        const QDateTime next = scheduled.addSecs((hoursBehind + 1) * 3600);
        return next > now ? next : next.addSecs(3600);
    }
    case Daily:
        return nextChosenDay({0, 1, 2, 3, 4, 5, 6}, time, now);
    case Weekdays:
        return nextChosenDay({1, 2, 3, 4, 5}, time, now);
    case SelectedDays: {
        QList<int> weekdays;
        for (const QVariant &day : job.selectedDays())
            weekdays << day.toInt();
        return nextChosenDay(weekdays, time, now);
    }
    case Monthly:
        // The job's day of the month (the month's last day when it is shorter), in the first month it lies ahead.
        for (int months = 0; months <= 12; ++months) {
            const QDate month = now.date().addMonths(months);
            const QDate first(month.year(), month.month(), 1);
            const QDateTime run = at(
                QDate(first.year(), first.month(), std::min(scheduled.date().day(), first.daysInMonth())), time, now);
            if (run > now)
                return run;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<qsizetype> soonestRepeatingJob(const QList<ArchivedJob> &jobs, const QDateTime &now)
{
    std::optional<qsizetype> soonest;
    qint64 fewestMinutes = 0;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        if (!jobs[i].isSchedule() || jobs[i].frequency() == Immediate || !jobs[i].scheduleTime().isValid())
            continue;
        const qint64 minutes = now.secsTo(jobs[i].scheduleTime()) / 60;
        if (!soonest || minutes < fewestMinutes) {
            soonest = i;
            fewestMinutes = minutes;
        }
    }
    return soonest;
}

std::optional<Pick> pickNext(const QList<ArchivedJob> &jobs, const Scan &scan)
{
    const auto startsNow = [&scan](const ArchivedJob &job) {
        const bool userBusy =
            !scan.busyUser.isEmpty() && (job.username() == scan.busyUser || job.tarnixUserName() == scan.busyUser);
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
        const bool repeating = job.frequency() >= Hourly && job.frequency() <= SelectedDays;
        if (!repeating || !scan.schedulesEnabled)
            continue;
        const bool missed = time.secsTo(scan.now) > scan.missedAfter.count();
        return Pick{missed && !job.shouldStartMissedScheduleBackup() ? Pick::SkipMissed : Pick::Run, i};
    }
    return std::nullopt;
}

}  // namespace JobSchedule
