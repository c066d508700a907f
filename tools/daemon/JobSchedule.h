#pragma once

#include "daemon/JobArchive.h"

#include <QDateTime>
#include <QList>

#include <chrono>
#include <optional>

// Which job runs next, and when a repeating job runs after that.
namespace JobSchedule {

enum Frequency { Immediate = 0, Hourly = 1, Daily = 2, Weekdays = 3, Monthly = 4, SelectedDays = 5 };
enum Status { NoStatus = 0, InProgress = 1, Canceled = 2, Completed = 3 };

// The time after `now` at which a repeating job runs again, by the monitor's
// next-run rules applied a minute past `now` (so a run never repeats itself
// in its own minute): hourly, the job's time plus whole hours; daily, the
// job's time of day on the next day it lies ahead; weekdays and selected days,
// the next such weekday; monthly, the job's day of the month in the next
// month it lies ahead. None for a one-off job.
std::optional<QDateTime> nextRunAfter(const ArchivedJob &job, const QDateTime &now);

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
    enum Kind { Run, SkipMissed };
    Kind kind = Run;
    qsizetype index = -1;
};

// The next thing to do, in archive order: with an immediate request the first
// one-off job not yet run; otherwise the first due job (a one-off job not yet
// run whose time has come; a repeating job whose time has come, while
// schedules are enabled). A job already In progress is never picked.
std::optional<Pick> pickNext(const QList<ArchivedJob> &jobs, const Scan &scan);

}  // namespace JobSchedule
