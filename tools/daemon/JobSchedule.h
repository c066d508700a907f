#pragma once

#include "daemon/JobArchive.h"

#include <QDateTime>
#include <QList>

#include <chrono>
#include <optional>

// Which job runs next, and when a repeating job runs after that.
namespace JobSchedule {

enum Frequency
{
    Immediate = 0,
    Hourly = 1,
    Daily = 2,
    Weekdays = 3,
    Monthly = 4,
    SelectedDays = 5
};
enum Status
{
    NoStatus = 0,
    InProgress = 1,
    Canceled = 2,
    Completed = 3
};

// The time after `now` at which a repeating job runs again, by the rules the
// monitor uses to set a job's first run: hourly, the job's time plus whole
// hours; daily, its wall-clock time on the next day it lies ahead; weekdays
// and selected days, that time on the next such weekday (a week on when no
// day is selected); monthly, its day of the month (the month's last day in a
// shorter month) in the next month it lies ahead. A missed run is not made
// up: the next time is the first one after `now`. None for a one-off job.
std::optional<QDateTime> nextRunAfter(const ArchivedJob &job, const QDateTime &now);

// The repeating job that runs soonest (the one overdue the longest, first on a
// tie), by whole minutes from now; none without one.
std::optional<qsizetype> soonestRepeatingJob(const QList<ArchivedJob> &jobs, const QDateTime &now);

struct Scan
{
    QDateTime now;
    bool immediateRequested = false;  // the state file reads "2"
    bool schedulesEnabled = true;     // the status file does not read "0"
    // A timed job whose time is further behind than this was missed while no
    // daemon ran: it runs only when it asks to start missed backups.
    std::chrono::seconds missedAfter{120};
    QString busyUser;  // an interactive backup runs for this user: none of their jobs starts
};

struct Pick
{
    enum Kind
    {
        Run,
        SkipMissed
    };
    Kind kind = Run;
    qsizetype index = -1;
};

// The next thing to do, in archive order: with an immediate request the first
// one-off job not yet run; otherwise the first due job (a one-off job not yet
// run whose time has come; a repeating job whose time has come, while
// schedules are enabled). A job already In progress is never picked.
std::optional<Pick> pickNext(const QList<ArchivedJob> &jobs, const Scan &scan);

}  // namespace JobSchedule
