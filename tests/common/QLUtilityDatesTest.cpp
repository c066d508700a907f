#include "common/utility/QLUtility.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(QLUtilityDatesTest, EngineDatesBecomeTheDisplayForm)
{
    const struct
    {
        const char *listing;
        const char *display;  // null: no result
    } listingCases[] = {
        {"2013-04-05 06:07:08", "04/05/2013 06:07:08"},
        {"2013-04-05 06:07:08 extra", "04/05/2013 06:07:08"},
        {"2013-04-05 06:07:0", nullptr},
        {"", nullptr},
    };
    for (const auto &test : listingCases) {
        const QString display = QLUtility::remoteDateFormatStr(test.listing);
        EXPECT_EQ(display.isNull(), test.display == nullptr) << test.listing;
        if (test.display) {
            EXPECT_EQ(display, test.display) << test.listing;
        }
    }

    const struct
    {
        const char *reindex;
        const char *display;
    } reindexCases[] = {
        {"Fri Apr  5 06:07:08 2013", "04/ 5/2013 06:07:08"},  // the day keeps its blank
        {"Tue DEC 31 23:59:59 2013", "12/31/2013 23:59:59"},
        {"Fri Apr  5 06:07:08 201", nullptr},
        {"Fri Xyz  5 06:07:08 2013", nullptr},
    };
    for (const auto &test : reindexCases) {
        const QString display = QLUtility::remoteDateFormatStrAfterReindex(test.reindex);
        EXPECT_EQ(display.isNull(), test.display == nullptr) << test.reindex;
        if (test.display) {
            EXPECT_EQ(display, test.display) << test.reindex;
        }
    }
}

TEST(QLUtilityDatesTest, ListingDateIsReadInLocalTime)
{
    const QDateTime date = QLUtility::dateFromString("2013-04-05 06:07:08");
    EXPECT_EQ(date, QDateTime(QDate(2013, 4, 5), QTime(6, 7, 8), Qt::LocalTime));
    EXPECT_FALSE(QLUtility::dateFromString("2013-04-05 06:07").isValid());
    EXPECT_FALSE(QLUtility::dateFromString("2013-13-45 06:07:08").isValid());
}

TEST(QLUtilityDatesTest, ElapsedTimeAndSessionDurations)
{
    EXPECT_EQ(QLUtility::timeDisplayFormatHour(0, 0, 0), "00:00:00");
    EXPECT_EQ(QLUtility::timeDisplayFormatHour(10, 0, 9), "10:00:09");
    EXPECT_EQ(QLUtility::timeDisplayFormatHour(125, 7, 30), "125:07:30");

    const struct
    {
        const char *start;
        const char *end;
        const char *duration;
    } cases[] = {
        {"05/06/2014 10:00:00 AM", "05/06/2014 11:01:05 AM", "01:01:05"},
        {"05/06/2014 11:59:59 AM", "05/06/2014 12:00:01 PM", "00:00:02"},
        {"05/06/2014 10:00:00 PM", "05/10/2014 02:00:00 PM", "88:00:00"},
        {"05/06/2014 10:00:00 AM", "05/06/2014 10:00:00 AM", "--:--:--"},
        {"05/06/2014 11:00:00 AM", "05/06/2014 10:00:00 AM", "--:--:--"},
        {"not a stamp", "05/06/2014 10:00:00 AM", "--:--:--"},
    };
    for (const auto &test : cases)
        EXPECT_EQ(QLUtility::getSessionDurationWithStartDate(test.start, test.end), test.duration) << test.start;
}

TEST(QLUtilityDatesTest, CurrentTimeStampsHaveTheirForms)
{
    EXPECT_TRUE(
        QRegularExpression("^\\d\\d-\\d\\d-\\d{4}-\\d\\d-\\d\\d-\\d\\d$").match(QLUtility::getLogTime()).hasMatch())
        << QLUtility::getLogTime().toStdString();
    const QString stamp = QLUtility::getSessionLogTime();
    EXPECT_TRUE(QRegularExpression("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d \\S+$").match(stamp).hasMatch())
        << stamp.toStdString();
    // The duration reads what the stamp writes.
    EXPECT_NE(QLUtility::getSessionDurationWithStartDate("01/01/2020 12:00:00 AM", stamp), "--:--:--");
}
