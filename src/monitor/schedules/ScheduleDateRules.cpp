#include "monitor/schedules/ScheduleDateRules.h"

#include <QTimeZone>

namespace ScheduleDateRules {
namespace {

// The day at the wall-clock time in now's zone. A time that the zone skips
// (a daylight-saving gap) is read with the offset in force before the gap,
// which moves it forward by the gap's length.
QDateTime at(const QDate &day, const QTime &time, const QDateTime &now)
{
    const QTime wholeSeconds(time.hour(), time.minute(), time.second());
    const QDateTime local(day, wholeSeconds, now.timeZone());
    if (local.isValid())
        return local;
    const QDateTime asUtc(day, wholeSeconds, QTimeZone::utc());
    const int offsetBefore = now.timeZone().offsetFromUtc(asUtc.addDays(-1));
    return asUtc.addSecs(-offsetBefore).toTimeZone(now.timeZone());
}

// The same wall-clock time some days later (or earlier).
QDateTime daysLater(const QDateTime &date, qint64 days, const QDateTime &now)
{
    return at(date.date().addDays(days), date.time(), now);
}

QDateTime inZoneOf(const QDateTime &date, const QDateTime &now) { return date.toTimeZone(now.timeZone()); }

bool isSelected(const TarnixScheduleItem &record, const QDateTime &date)
{
    return TarnixScheduleItem::dayIndexes(record.selectedDaysForSchedule()).contains(weekdayIndex(date));
}

QDateTime dayOfMonth(int year, int month, int day, const QTime &time, const QDateTime &now)
{
    const QDate first(year, month, 1);
    return at(QDate(year, month, qBound(1, day, first.daysInMonth())), time, now);
}

}  // namespace

int weekdayIndex(const QDateTime &date) { return date.date().dayOfWeek() % 7; }

qint64 wholeMinutesSince(const QDateTime &from, const QDateTime &now) { return from.secsTo(now) / 60; }

qint64 wholeDaysSince(const QDateTime &from, const QDateTime &now)
{
    const QDateTime start = inZoneOf(from, now);
    qint64 days = start.date().daysTo(now.date());
    if (days > 0 && daysLater(start, days, now) > now)
        --days;
    else if (days < 0 && daysLater(start, days, now) < now)
        ++days;
    return days;
}

QDateTime nextscheduleDateForDailySchedule(const QTime &chosen, const QDateTime &now)
{
    const QDate today = now.date();
    const QDateTime limit = at(today, chosen, now).addSecs(60);
    return at(now < limit ? today : today.addDays(1), chosen, now);
}

QDateTime nextScheduleTransferDate(const TarnixScheduleItem &record, const QTime &chosen, const QDateTime &now)
{
    const QDateTime todayAtChosen = at(now.date(), chosen, now);
    if (isSelected(record, now) && now <= todayAtChosen)
        return todayAtChosen;
    const auto next = nextScheduleDateFromTheSelectedDaysArray(record, now);
    return at(next ? next->date() : now.date().addDays(7), chosen, now);
}

std::optional<QDateTime> nextScheduleDateFromTheSelectedDaysArray(const TarnixScheduleItem &record,
                                                                  const QDateTime &now)
{
    if (!record.scheduleTime().isValid())
        return std::nullopt;
    const QDateTime stored = inZoneOf(record.scheduleTime(), now);
    const QDateTime todayAtStored = at(now.date(), stored.time(), now);
    QDateTime start = wholeMinutesSince(todayAtStored, now) < 0 ? stored : todayAtStored;
    if (wholeDaysSince(start, now) > 0)
        start = todayAtStored;
    else if (wholeMinutesSince(start, now) > 0)
        start = daysLater(start, 1, now);
    for (int offset = 0; offset < 7; ++offset) {
        const QDateTime candidate = at(start.date().addDays(offset), stored.time(), now);
        if (isSelected(record, candidate) && wholeMinutesSince(candidate, now) <= 0)
            return candidate;
    }
    return at(start.date().addDays(7), stored.time(), now);
}

bool currentDayIndexExsistsInTheSelectedArray(const TarnixScheduleItem &record, const QDateTime &now)
{
    return isSelected(record, now);
}

bool oneMinuteGapWithTheCurrentTime(const QDateTime &picked, const QDateTime &now) { return picked.addSecs(60) > now; }

QDateTime nextscheduleDateForHourlySchedule(const QDateTime &picked, const QDateTime &now)
{
    return now > picked.addSecs(60) ? now.addSecs(3600) : picked;
}

QVariantList hourlyDays(const QDateTime &now) { return {weekdayIndex(now.addSecs(45))}; }

NextRun monthlyRun(int dayOfMonth, const QTime &chosen, const QDateTime &now)
{
    const QDateTime base = now.addSecs(45);
    const QDate month = base.date();
    QDateTime run = ScheduleDateRules::dayOfMonth(month.year(), month.month(), dayOfMonth, chosen, now);
    if (run < now) {
        const QDate next = month.addMonths(1);
        run = ScheduleDateRules::dayOfMonth(next.year(), next.month(), dayOfMonth, chosen, now);
    }
    return {run, {weekdayIndex(base)}};
}

NextRun immediateRun(const QDateTime &now)
{
    const QDateTime run = now.addSecs(30);
    return {run, {weekdayIndex(run)}};
}

std::optional<qsizetype> nextScheduledItem(const QList<TarnixScheduleItem> &records, const QDateTime &now)
{
    std::optional<qsizetype> soonest;
    qint64 fewestMinutes = 0;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (records[i].frequency() == TarnixScheduleItem::Immediate)
            continue;
        const qint64 minutes = now.secsTo(records[i].scheduleTime()) / 60;
        if (!soonest || minutes < fewestMinutes) {
            soonest = i;
            fewestMinutes = minutes;
        }
    }
    return soonest;
}

std::optional<QList<TarnixScheduleItem>> checkExistanceOfOnceForSameUser(const QList<TarnixScheduleItem> &records,
                                                                         const TarnixScheduleItem &saved)
{
    if (saved.frequency() != TarnixScheduleItem::Immediate)
        return std::nullopt;
    const auto isUsersOneOff = [&saved](const TarnixScheduleItem &record) {
        return record.tarnixUserName() == saved.tarnixUserName() && record.frequency() == TarnixScheduleItem::Immediate;
    };
    std::optional<TarnixScheduleItem> kept;
    for (const TarnixScheduleItem &record : records) {
        if (!isUsersOneOff(record))
            continue;
        if (record.status() == TarnixScheduleItem::InProgress)
            return std::nullopt;
        if (!kept)
            kept = record;
        else if (record.scheduleTime() > kept->scheduleTime())
            kept->setScheduleTime(record.scheduleTime());
    }
    if (!kept)
        return std::nullopt;
    QList<TarnixScheduleItem> merged;
    for (const TarnixScheduleItem &record : records)
        if (!isUsersOneOff(record))
            merged << record;
    merged << *kept;
    return merged;
}

}  // namespace ScheduleDateRules
