// Which job the daemon runs next and when a repeating job runs again.

#include "daemon/JobSchedule.h"

#include "monitor/schedules/TarnixScheduleItem.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using namespace JobSchedule;

// 2026-01-05 is a Monday.
QDateTime local(int d, int h, int mi, int s = 0, int mo = 1) { return QDateTime(QDate(2026, mo, d), QTime(h, mi, s)); }

ArchivedJob job(int frequency, const QDateTime &time, int status = NoStatus, const QVariantList &days = {},
                bool startMissed = false, const QString &user = "ann")
{
    TarnixScheduleItem item;
    item.setFrequency(frequency);
    item.setScheduleTime(time);
    item.setStatus(status);
    item.setSelectedDaysForSchedule(days);
    item.setShouldStartMissedScheduleBackup(startMissed);
    item.setUsername(user);
    item.setTarnixUserName(user);
    return ArchivedJob(QVariant::fromValue(item.toArchivedObject()));
}

TEST(JobScheduleTest, RepeatingJobsAdvanceByTheirFrequency)
{
    struct Case
    {
        const char *name;
        ArchivedJob job;
        QDateTime now;
        std::optional<QDateTime> next;
    };
    const Case cases[] = {
        {"hourly", job(Hourly, local(5, 10, 0)), local(5, 10, 0, 20), local(5, 11, 0)},
        {"hourly, hours behind", job(Hourly, local(5, 10, 0)), local(5, 13, 30), local(5, 14, 0)},
        {"daily", job(Daily, local(5, 10, 0)), local(5, 10, 0, 20), local(6, 10, 0)},
        {"daily, days behind", job(Daily, local(5, 10, 0)), local(7, 9, 0), local(7, 10, 0)},
        {"weekdays from a Friday", job(Weekdays, local(9, 10, 0)), local(9, 10, 0, 20), local(12, 10, 0)},
        {"selected days", job(SelectedDays, local(5, 10, 0), 0, {1, QStringLiteral("3")}), local(5, 10, 5),
         local(7, 10, 0)},
        {"monthly", job(Monthly, local(5, 10, 0)), local(5, 10, 0, 20), local(5, 10, 0, 0, 2)},
        {"one-off", job(Immediate, local(5, 10, 0)), local(5, 10, 0, 20), std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(nextRunAfter(c.job, c.now), c.next) << c.name;
}

TEST(JobScheduleTest, PicksTheDueJobInArchiveOrder)
{
    const QDateTime now = local(5, 12, 0);
    const auto pick = [&now](const QList<ArchivedJob> &jobs, bool immediate = false, bool enabled = true,
                             const QString &busy = {}) -> std::optional<std::pair<Pick::Kind, qsizetype>> {
        Scan scan;
        scan.now = now;
        scan.immediateRequested = immediate;
        scan.schedulesEnabled = enabled;
        scan.busyUser = busy;
        const auto found = pickNext(jobs, scan);
        if (!found)
            return std::nullopt;
        return std::pair{found->kind, found->index};
    };
    const auto run = [](qsizetype i) { return std::pair{Pick::Run, i}; };

    const ArchivedJob aheadOnce = job(Immediate, now.addSecs(45));
    const ArchivedJob dueDaily = job(Daily, now.addSecs(-30));
    EXPECT_EQ(pick({aheadOnce, dueDaily}, true), run(0)) << "an immediate request takes the pending one-off job";
    EXPECT_EQ(pick({aheadOnce, dueDaily}), run(1)) << "without one, the one-off job waits for its time";
    EXPECT_EQ(pick({job(Immediate, now.addSecs(-5), Completed), job(Immediate, now.addSecs(-5), InProgress)}, true),
              std::nullopt)
        << "run or running one-off jobs stay";
    EXPECT_EQ(pick({dueDaily}, false, false), std::nullopt) << "all schedules disabled";
    EXPECT_EQ(pick({dueDaily, job(Immediate, now.addSecs(-5))}, false, false), run(1))
        << "a one-off request still runs";
    EXPECT_EQ(pick({job(Daily, now.addSecs(-600))}), std::pair(Pick::SkipMissed, qsizetype(0))) << "missed";
    EXPECT_EQ(pick({job(Daily, now.addSecs(-600), Completed, {}, true)}), run(0)) << "missed, started late on request";
    EXPECT_EQ(pick({job(Daily, now.addSecs(-30), InProgress), dueDaily}), run(1));
    EXPECT_EQ(pick({dueDaily}, false, true, "ann"), std::nullopt) << "the user's interactive backup runs";
    EXPECT_EQ(pick({job(Daily, now.addSecs(30))}), std::nullopt);
    EXPECT_EQ(pick({job(9, now.addSecs(-600)), dueDaily}), run(1)) << "a frequency it does not know never runs";
}

}  // namespace
