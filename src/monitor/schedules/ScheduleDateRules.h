#pragma once

#include "monitor/schedules/TarnixScheduleItem.h"

#include <QDateTime>
#include <QList>
#include <QTime>

#include <optional>

// When a job runs next. Pure functions of the moment `now`, the time the user
// chose and the record: every date is built in now's time zone from a day and
// a wall-clock time, and days and months are added on the calendar, so a daily
// job keeps its hour across a daylight-saving change. On a transition day a
// wall-clock time that does not exist moves forward by the gap (02:30 becomes
// 03:30 where clocks jump from 02:00 to 03:00); one that exists twice is the
// first of the two.
namespace ScheduleDateRules {

// Weekday index of a date: 0 Sunday ... 6 Saturday.
int weekdayIndex(const QDateTime &date);

// Whole minutes / whole calendar days from `from` to now, truncated toward
// zero, negative when `from` lies ahead.
qint64 wholeMinutesSince(const QDateTime &from, const QDateTime &now);
qint64 wholeDaysSince(const QDateTime &from, const QDateTime &now);

// Daily: today at the chosen time, while now is less than a minute past it; else tomorrow.
QDateTime nextscheduleDateForDailySchedule(const QTime &chosen, const QDateTime &now);

// Selected weekdays at the chosen time: today when its weekday is selected and
// the time is not past, else the next selected day from the record's time.
QDateTime nextScheduleTransferDate(const TarnixScheduleItem &record, const QTime &chosen, const QDateTime &now);

// The next selected weekday at the record's own time, within a week of where
// the search starts; that start plus seven days when no day is selected. None
// for a record without a time.
std::optional<QDateTime> nextScheduleDateFromTheSelectedDaysArray(const TarnixScheduleItem &record,
                                                                  const QDateTime &now);

bool currentDayIndexExsistsInTheSelectedArray(const TarnixScheduleItem &record, const QDateTime &now);

// Whether the picked moment plus one minute is still ahead of now.
bool oneMinuteGapWithTheCurrentTime(const QDateTime &picked, const QDateTime &now);

// Hourly: now plus one hour when the picked moment is more than a minute past, else the picked moment.
QDateTime nextscheduleDateForHourlySchedule(const QDateTime &picked, const QDateTime &now);

// What a save stores as the time and the day list of a job.
struct NextRun
{
    QDateTime time;
    QVariantList days;  // the single weekday of the run
};

// Hourly save: the record keeps its time; the day list is the weekday of now plus 45 seconds.
QVariantList hourlyDays(const QDateTime &now);
// Monthly save: day `dayOfMonth` of this month at the chosen time, or of the
// next month when that is past. A day the month lacks (the 31st of April, the
// 30th of February) is the month's last day.
NextRun monthlyRun(int dayOfMonth, const QTime &chosen, const QDateTime &now);
// One-off ("Immediate") save: thirty seconds from now.
NextRun immediateRun(const QDateTime &now);

// The index of the soonest repeating job (frequency other than Immediate): the
// fewest whole minutes from now to its time, so the job overdue the longest
// wins; the first in archive order on a tie. None without one.
std::optional<qsizetype> nextScheduledItem(const QList<TarnixScheduleItem> &records, const QDateTime &now);

// The merge of a user's one-off jobs after `saved` (a one-off job) was stored:
// the first of them stays, with the latest of their times, moved to the end;
// the others go. None (nothing to write) when `saved` is not one-off, the user
// has none, or one of them is running.
std::optional<QList<TarnixScheduleItem>> checkExistanceOfOnceForSameUser(const QList<TarnixScheduleItem> &records,
                                                                         const TarnixScheduleItem &saved);

}  // namespace ScheduleDateRules
