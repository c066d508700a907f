// Next-run dates: each frequency, month ends, leap years and daylight-saving changes.

#include "monitor/schedules/ScheduleDateRules.h"

#include "support/QtPrinters.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

using namespace ScheduleDateRules;

const QTimeZone kUtc = QTimeZone::utc();

// 2026-01-05 is a Monday.
QDateTime at(int y, int mo, int d, int h, int mi, int s = 0, const QTimeZone &zone = kUtc)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), zone);
}

TarnixScheduleItem daysRecord(const QVariantList &days, const QDateTime &time)
{
    TarnixScheduleItem record;
    record.setFrequency(TarnixScheduleItem::SelectedDays);
    record.setSelectedDaysForSchedule(days);
    record.setScheduleTime(time);
    return record;
}

TarnixScheduleItem job(int frequency, const QDateTime &time, const QString &user = "ann", int status = 0)
{
    TarnixScheduleItem record;
    record.setFrequency(frequency);
    record.setScheduleTime(time);
    record.setTarnixUserName(user);
    record.setStatus(status);
    return record;
}

TEST(ScheduleDateRulesTest, DailyRunsTodayUntilAMinuteAfterTheChosenTime)
{
    struct Case
    {
        QDateTime now;
        QDateTime expected;
    };
    const Case cases[] = {
        {at(2026, 1, 5, 9, 59, 30), at(2026, 1, 5, 10, 0)},
        {at(2026, 1, 5, 10, 0, 40), at(2026, 1, 5, 10, 0)},
        {at(2026, 1, 5, 10, 1, 0), at(2026, 1, 6, 10, 0)},
        {at(2026, 12, 31, 23, 0), at(2027, 1, 1, 10, 0)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(nextscheduleDateForDailySchedule(QTime(10, 0), c.now), c.expected) << c.now.toString().toStdString();
    EXPECT_EQ(nextscheduleDateForDailySchedule(QTime(23, 59, 30), at(2026, 1, 6, 0, 0, 20)), at(2026, 1, 6, 23, 59, 30))
        << "minute 59 plus one is the next hour";
}

TEST(ScheduleDateRulesTest, SelectedDaysFindTheNextChosenWeekday)
{
    const TarnixScheduleItem record = daysRecord({1, 3, 5}, at(2026, 1, 5, 9, 0));
    struct Case
    {
        QDateTime now;
        QDateTime expected;
    };
    const Case cases[] = {
        {at(2026, 1, 5, 8, 0), at(2026, 1, 5, 9, 0)},     // Monday before the time: today
        {at(2026, 1, 5, 10, 0), at(2026, 1, 7, 9, 0)},    // Monday after it: Wednesday
        {at(2026, 1, 10, 12, 0), at(2026, 1, 12, 9, 0)},  // Saturday: Monday
    };
    for (const Case &c : cases)
        EXPECT_EQ(nextScheduleTransferDate(record, QTime(9, 0), c.now), c.expected) << c.now.toString().toStdString();

    EXPECT_EQ(nextScheduleDateFromTheSelectedDaysArray(daysRecord({}, at(2026, 1, 5, 9, 0)), at(2026, 1, 5, 10, 0)),
              at(2026, 1, 13, 9, 0))
        << "no day selected: the start plus seven days";
    EXPECT_EQ(nextScheduleDateFromTheSelectedDaysArray(daysRecord({1}, at(2026, 1, 12, 15, 0)), at(2026, 1, 5, 10, 0)),
              at(2026, 1, 12, 15, 0))
        << "a stored time a week ahead starts the search";
    TarnixScheduleItem noTime = daysRecord({1}, QDateTime());
    EXPECT_FALSE(nextScheduleDateFromTheSelectedDaysArray(noTime, at(2026, 1, 5, 10, 0)));
    EXPECT_TRUE(currentDayIndexExsistsInTheSelectedArray(daysRecord({QStringLiteral("1")}, {}), at(2026, 1, 5, 10, 0)));
}

TEST(ScheduleDateRulesTest, MonthlyClampsToTheMonthsLastDay)
{
    struct Case
    {
        int day;
        QDateTime now;
        QDateTime expected;
    };
    const Case cases[] = {
        {5, at(2026, 1, 20, 12, 0), at(2026, 2, 5, 8, 0)},   {5, at(2026, 1, 3, 12, 0), at(2026, 1, 5, 8, 0)},
        {31, at(2026, 4, 10, 12, 0), at(2026, 4, 30, 8, 0)}, {30, at(2026, 1, 31, 12, 0), at(2026, 2, 28, 8, 0)},
        {29, at(2028, 2, 10, 12, 0), at(2028, 2, 29, 8, 0)},  // leap year
        {29, at(2027, 2, 10, 12, 0), at(2027, 2, 28, 8, 0)}, {31, at(2026, 12, 31, 9, 0), at(2027, 1, 31, 8, 0)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(monthlyRun(c.day, QTime(8, 0), c.now).time, c.expected)
            << c.day << " " << c.now.toString().toStdString();
    EXPECT_EQ(monthlyRun(5, QTime(8, 0), at(2026, 1, 10, 23, 59, 30)).days, QVariantList{0}) << "weekday of now + 45 s";
}

TEST(ScheduleDateRulesTest, HourlyImmediateAndTheOneMinuteGap)
{
    EXPECT_EQ(hourlyDays(at(2026, 1, 10, 23, 59, 30)), QVariantList{0}) << "Saturday 23:59:30 + 45 s is Sunday";
    EXPECT_EQ(nextscheduleDateForHourlySchedule(at(2026, 1, 5, 9, 0), at(2026, 1, 5, 9, 0, 59)), at(2026, 1, 5, 9, 0));
    EXPECT_EQ(nextscheduleDateForHourlySchedule(at(2026, 1, 5, 9, 0), at(2026, 1, 5, 9, 1, 1)),
              at(2026, 1, 5, 10, 1, 1));
    EXPECT_TRUE(oneMinuteGapWithTheCurrentTime(at(2026, 1, 5, 9, 0), at(2026, 1, 5, 9, 0, 59)));
    EXPECT_FALSE(oneMinuteGapWithTheCurrentTime(at(2026, 1, 5, 9, 0), at(2026, 1, 5, 9, 1)));
    const NextRun once = immediateRun(at(2026, 1, 10, 23, 59, 40));
    EXPECT_EQ(once.time, at(2026, 1, 11, 0, 0, 10));
    EXPECT_EQ(once.days, QVariantList{0});
}

TEST(ScheduleDateRulesTest, DaylightSavingChangesKeepTheWallClock)
{
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    // Clocks jump from 02:00 to 03:00 on 2026-03-29 and fall back from 03:00 to 02:00 on 2026-10-25.
    EXPECT_EQ(nextscheduleDateForDailySchedule(QTime(9, 0), at(2026, 3, 28, 10, 0, 0, berlin)).toUTC(),
              at(2026, 3, 29, 7, 0))
        << "09:00 summer time";
    EXPECT_EQ(nextscheduleDateForDailySchedule(QTime(2, 30), at(2026, 3, 28, 12, 0, 0, berlin)).toUTC(),
              at(2026, 3, 29, 1, 30))
        << "02:30 does not exist: 03:30 summer time";
    EXPECT_EQ(nextscheduleDateForDailySchedule(QTime(9, 0), at(2026, 10, 24, 10, 0, 0, berlin)).toUTC(),
              at(2026, 10, 25, 8, 0))
        << "09:00 winter time";
    const TarnixScheduleItem sundays = daysRecord({0}, at(2026, 3, 22, 9, 0, 0, berlin));
    EXPECT_EQ(nextScheduleDateFromTheSelectedDaysArray(sundays, at(2026, 3, 22, 10, 0, 0, berlin))->toUTC(),
              at(2026, 3, 29, 7, 0))
        << "a week on is still 09:00 local";
    EXPECT_EQ(wholeDaysSince(at(2026, 3, 28, 12, 0, 0, berlin), at(2026, 3, 29, 12, 0, 0, berlin)), 1)
        << "a day of 23 hours is a whole day";
}

TEST(ScheduleDateRulesTest, SoonestJobIsTheOneOverdueTheLongest)
{
    const QDateTime now = at(2026, 1, 5, 12, 0);
    EXPECT_EQ(nextScheduledItem({job(2, now.addSecs(600)), job(2, now.addSecs(-300))}, now), 1);
    EXPECT_EQ(nextScheduledItem({job(0, now.addSecs(-900)), job(2, now.addSecs(70)), job(4, now.addSecs(100))}, now), 1)
        << "same minute: the first; one-off jobs do not count";
    EXPECT_FALSE(nextScheduledItem({job(0, now)}, now));
    EXPECT_FALSE(nextScheduledItem({}, now));
}

TEST(ScheduleDateRulesTest, OneOffJobsOfAUserMergeIntoTheFirstAtTheLatestTime)
{
    const QList<TarnixScheduleItem> records{job(0, at(2026, 1, 5, 10, 0)), job(2, at(2026, 1, 5, 8, 0)),
                                            job(0, at(2026, 1, 5, 10, 5)), job(0, at(2026, 1, 5, 9, 0), "bob"),
                                            job(0, at(2026, 1, 5, 10, 2))};
    const auto merged = checkExistanceOfOnceForSameUser(records, records[4]);
    ASSERT_TRUE(merged);
    ASSERT_EQ(merged->size(), 3);
    EXPECT_TRUE(merged->at(0).isSameRecord(records[1]));
    EXPECT_TRUE(merged->at(1).isSameRecord(records[3])) << "another user's one-off job stays";
    EXPECT_TRUE(merged->at(2).isSameRecord(records[0])) << "the first, moved to the end";
    EXPECT_EQ(merged->at(2).scheduleTime(), at(2026, 1, 5, 10, 5));

    QList<TarnixScheduleItem> running = records;
    running[2].setStatus(TarnixScheduleItem::InProgress);
    EXPECT_FALSE(checkExistanceOfOnceForSameUser(running, records[4]));
    EXPECT_FALSE(checkExistanceOfOnceForSameUser(records, records[1])) << "not a one-off job";
}

}  // namespace
