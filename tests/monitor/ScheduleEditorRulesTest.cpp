// The schedule editor's rules without a display: the weekday row, the sheet's
// controls and the inline panel's save.

#include "monitor/editor/ScheduleEditorRules.h"
#include "monitor/editor/DayRowState.h"
#include "monitor/editor/SchedulePanelRules.h"

#include <gtest/gtest.h>

namespace {

using Row = ScheduleEditorState::Row;

const QDateTime kMonday0800(QDate(2026, 1, 5), QTime(8, 0));  // a Monday

TarnixScheduleItem jobOf(int frequency, const QVariantList &days = {})
{
    TarnixScheduleItem item;
    item.setUsername("ann");
    item.setTarnixUserName("ann");
    item.setFrequency(frequency);
    item.setScheduleTime(kMonday0800);
    item.setSelectedDaysForSchedule(days);
    return item;
}

TEST(DayRowStateTest, SelectionAndSummaryState)
{
    DayRowState row;
    EXPECT_EQ(row.dayState(), DayRowState::kNoneOn);
    row.toggle(1);
    row.toggle(3);
    EXPECT_EQ(row.selectedDays(), (QList<int>{1, 3}));
    EXPECT_EQ(row.dayState(), DayRowState::kSomeOn);

    row.setDayState(DayRowState::kSomeOn);  // leaves the days as they are
    EXPECT_EQ(row.selectedDays(), (QList<int>{1, 3}));
    row.setDayState(DayRowState::kAllOn);
    EXPECT_EQ(row.selectedDays(), (QList<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(row.dayState(), DayRowState::kAllOn);
    row.setDayState(DayRowState::kNoneOn);
    EXPECT_TRUE(row.selectedDays().isEmpty());

    row.toggle(1);
    row.setSelectedDays({5, 9, -1});  // adds; out-of-range indexes are skipped
    EXPECT_EQ(row.selectedDays(), (QList<int>{1, 5}));
}

TEST(ScheduleEditorRulesTest, OpensEachFrequencyOnItsRow)
{
    struct Case
    {
        int frequency;
        QVariantList days;
        int row;
        QString title;
        QList<int> shownDays;
    };
    const QList<Case> cases{
        {TarnixScheduleItem::Daily, {}, Row::DailyRow, "Daily Schedule", {0, 1, 2, 3, 4, 5, 6}},
        {TarnixScheduleItem::SelectedDays, {}, Row::DailyRow, "Week-Day(s)", {1, 2, 3, 4, 5}},
        {TarnixScheduleItem::SelectedDays, {"0", 6}, Row::DailyRow, "Week-Day(s)", {0, 6}},
        {TarnixScheduleItem::Weekdays, {}, Row::DailyRow, "Week-Day(s)", {1}},  // the weekday of its time
        {TarnixScheduleItem::Hourly, {}, Row::HourlyRow, "Daily Schedule", {}},
        {TarnixScheduleItem::Immediate, {}, Row::ImmediateRow, "Daily Schedule", {}},
        {TarnixScheduleItem::Monthly, {}, Row::MonthlyRow, "Daily Schedule", {}},
        {9, {}, Row::NoRow, "Daily Schedule", {}},
    };
    for (const Case &c : cases) {
        TarnixScheduleItem record = jobOf(c.frequency, c.days);
        const ScheduleEditorState state = ScheduleEditorRules::open(record);
        EXPECT_EQ(state.checkedRow, c.row) << c.frequency;
        EXPECT_EQ(ScheduleEditorRules::firstRowTitle(state), c.title) << c.frequency;
        EXPECT_EQ(state.days.selectedDays(), c.shownDays) << c.frequency;
    }
    TarnixScheduleItem noDays = jobOf(TarnixScheduleItem::SelectedDays);
    ScheduleEditorRules::open(noDays);
    EXPECT_EQ(TarnixScheduleItem::dayIndexes(noDays.selectedDaysForSchedule()), (QList<int>{1, 2, 3, 4, 5}));
}

TEST(ScheduleEditorRulesTest, DailyRowClickedThriceSelectsAllNoneAll)
{
    TarnixScheduleItem record = jobOf(TarnixScheduleItem::Hourly);
    ScheduleEditorState state = ScheduleEditorRules::open(record);
    const QList<int> all{0, 1, 2, 3, 4, 5, 6};
    for (const QList<int> &expected : {all, QList<int>{}, all}) {
        ScheduleEditorRules::rowClicked(state, Row::DailyRow, record, kMonday0800);
        EXPECT_EQ(state.days.selectedDays(), expected);
        EXPECT_EQ(record.frequency(), TarnixScheduleItem::Daily);
    }
}

TEST(ScheduleEditorRulesTest, WeekdayTogglesRetitleTheFirstRow)
{
    TarnixScheduleItem record = jobOf(TarnixScheduleItem::Monthly);
    ScheduleEditorState state = ScheduleEditorRules::open(record);
    for (int day = 1; day <= 5; ++day)
        state.days.toggle(day);
    ScheduleEditorRules::daysChanged(state);
    EXPECT_EQ(state.checkedRow, Row::DailyRow);
    EXPECT_EQ(ScheduleEditorRules::firstRowTitle(state), "Week-Day(s)");
    EXPECT_EQ(state.days.selectedDays(), (QList<int>{1, 2, 3, 4, 5}));

    state.days.toggle(0);
    state.days.toggle(6);
    ScheduleEditorRules::daysChanged(state);
    EXPECT_EQ(ScheduleEditorRules::firstRowTitle(state), "Daily Schedule");
    EXPECT_EQ(state.checkedRow, Row::DailyRow);
    // All seven were set by the row, so its next click clears them.
    ScheduleEditorRules::rowClicked(state, Row::DailyRow, record, kMonday0800);
    EXPECT_TRUE(state.days.selectedDays().isEmpty());

    state.days.toggle(2);
    ScheduleEditorRules::daysChanged(state);
    state.days.toggle(2);
    ScheduleEditorRules::daysChanged(state);
    EXPECT_EQ(state.checkedRow, Row::NoRow);
    EXPECT_EQ(ScheduleEditorRules::enabled(state), ScheduleEditorEnabled{});
}

TEST(ScheduleEditorRulesTest, EnabledControlsFollowTheRowAndTheBoxes)
{
    struct Case
    {
        int row;
        bool email;
        bool cutoff;
        bool timePicker;
        bool dayOfMonth;
    };
    for (const Case &c : QList<Case>{{Row::DailyRow, false, false, true, false},
                                     {Row::HourlyRow, true, true, true, false},
                                     {Row::ImmediateRow, false, true, false, false},
                                     {Row::MonthlyRow, true, false, true, true}}) {
        ScheduleEditorState state;
        state.checkedRow = c.row;
        state.emailOn = c.email;
        state.cutoffOn = c.cutoff;
        const ScheduleEditorEnabled on = ScheduleEditorRules::enabled(state);
        EXPECT_EQ(on.timePicker, c.timePicker) << c.row;
        EXPECT_EQ(on.dayOfMonth, c.dayOfMonth) << c.row;
        EXPECT_EQ(on.logExtract, c.email) << c.row;
        EXPECT_EQ(on.notifyRadios, c.email) << c.row;
        EXPECT_EQ(on.cutoffPicker, c.cutoff) << c.row;
        EXPECT_TRUE(on.emailBox && on.emailField && on.cutoffBox && on.desktopNotification) << c.row;
    }
    // Immediate, then hourly: the time picker takes input again.
    TarnixScheduleItem record = jobOf(TarnixScheduleItem::Daily);
    ScheduleEditorState state = ScheduleEditorRules::open(record);
    ScheduleEditorRules::rowClicked(state, Row::ImmediateRow, record, kMonday0800);
    EXPECT_FALSE(ScheduleEditorRules::enabled(state).timePicker);
    ScheduleEditorRules::rowClicked(state, Row::HourlyRow, record, kMonday0800);
    EXPECT_TRUE(ScheduleEditorRules::enabled(state).timePicker);
    // Opening the day-of-month list switches to monthly and clears the days.
    ScheduleEditorRules::rowClicked(state, Row::DailyRow, record, kMonday0800);
    ScheduleEditorRules::dayListWillOpen(state);
    EXPECT_EQ(state.checkedRow, Row::MonthlyRow);
    EXPECT_TRUE(state.days.selectedDays().isEmpty());
}

TEST(ScheduleEditorRulesTest, SaveGivesFrequencyTimeAndDays)
{
    const QDateTime picked(kMonday0800.date(), QTime(9, 0));
    struct Case
    {
        int row;
        bool weekDays;
        QList<int> days;
        int frequency;
        QDateTime time;
        QList<int> storedDays;
    };
    const QList<Case> cases{
        {Row::DailyRow, false, {0, 1, 2, 3, 4, 5, 6}, TarnixScheduleItem::Daily, picked, {}},
        {Row::DailyRow, true, {3, 5}, TarnixScheduleItem::SelectedDays, picked.addDays(2), {3, 5}},
        {Row::MonthlyRow, false, {}, TarnixScheduleItem::Monthly, QDateTime(QDate(2026, 1, 20), QTime(9, 0)), {1}},
        {Row::ImmediateRow, false, {}, TarnixScheduleItem::Immediate, kMonday0800.addSecs(30), {1}},
        {Row::HourlyRow, false, {}, TarnixScheduleItem::Hourly, picked, {1}},
    };
    for (const Case &c : cases) {
        TarnixScheduleItem record = jobOf(TarnixScheduleItem::Daily);
        ScheduleEditorState state;
        state.checkedRow = c.row;
        state.weekDaysTitle = c.weekDays;
        state.days.setSelectedDays(c.days);
        ASSERT_TRUE(ScheduleEditorRules::applyChoice(state, record, picked, 20, kMonday0800)) << c.row;
        EXPECT_EQ(record.frequency(), c.frequency) << c.row;
        EXPECT_EQ(record.scheduleTime(), c.time) << c.row;
        EXPECT_EQ(TarnixScheduleItem::dayIndexes(record.selectedDaysForSchedule()), c.storedDays) << c.row;
    }
    TarnixScheduleItem record = jobOf(TarnixScheduleItem::Daily);
    EXPECT_FALSE(ScheduleEditorRules::applyChoice(ScheduleEditorState{}, record, picked, 1, kMonday0800));
}

TEST(ScheduleEditorRulesTest, EmailAddressesAreChecked)
{
    const QList<std::pair<QString, QString>> cases{{"", "Enter an email address to receive the email notification"},
                                                   {"a@b.com,nobody", "Provide a valid email address"},
                                                   {"a@b.com, c@d.org", ""}};
    for (const auto &[addresses, problem] : cases) {
        TarnixScheduleItem record = jobOf(TarnixScheduleItem::Daily);
        record.setSendEmailNotification(true);
        record.setEmailids(addresses);
        EXPECT_EQ(ScheduleEditorRules::emailProblem(record).value_or(QString()), problem) << addresses.toStdString();
    }
    TarnixScheduleItem off = jobOf(TarnixScheduleItem::Daily);
    off.setEmailids("nobody");
    EXPECT_FALSE(ScheduleEditorRules::emailProblem(off));
}

TEST(SchedulePanelRulesTest, DaysAndBoxesGiveTheFrequency)
{
    struct Case
    {
        QList<int> days;
        bool daily;
        bool immediate;
        int frequency;
        QString title;
    };
    const QList<Case> cases{
        {{1, 2, 3, 4, 5}, true, false, TarnixScheduleItem::SelectedDays, "Week-Day(s)"},
        {{0, 1, 2, 3, 4, 5, 6}, true, false, TarnixScheduleItem::Daily, "Daily schedule"},
        {{}, false, true, TarnixScheduleItem::Immediate, "Daily schedule"},
        {{}, false, false, TarnixScheduleItem::Monthly, "Daily schedule"},  // the record's own
    };
    for (const Case &c : cases) {
        SchedulePanel panel;
        panel.days.setSelectedDays(c.days);
        panel.dailyOn = c.daily;
        panel.immediateOn = c.immediate;
        panel.kindChosen = true;
        panel.time = kMonday0800;
        const auto saved = SchedulePanelRules::applyPanel({jobOf(TarnixScheduleItem::Monthly)}, panel);
        EXPECT_EQ(saved.first().frequency(), c.frequency) << c.days.size();
        EXPECT_EQ(SchedulePanelRules::dailyTitle(c.days.size()), c.title);
    }
    SchedulePanel weekdays;
    weekdays.kindChosen = true;
    weekdays.dailyOn = true;
    weekdays.days.setSelectedDays({1, 2, 3, 4, 5});
    const auto saved = SchedulePanelRules::applyPanel({jobOf(TarnixScheduleItem::Daily)}, weekdays);
    EXPECT_EQ(saved.first().selectedDaysForSchedule(), (QVariantList{"1", "2", "3", "4", "5"}));
    SchedulePanel noDay;
    noDay.kindChosen = true;
    EXPECT_TRUE(SchedulePanelRules::removesAllJobs(noDay));
    EXPECT_FALSE(SchedulePanelRules::removesAllJobs(weekdays));
    EXPECT_FALSE(SchedulePanelRules::removesAllJobs(SchedulePanel{})) << "only the days or boxes remove";

    // A change of the time only: an hourly job, which the panel shows as daily, stays hourly.
    const TarnixScheduleItem hourly = jobOf(TarnixScheduleItem::Hourly, {3});
    SchedulePanel shown = SchedulePanelRules::panelFor(hourly);
    shown.time = kMonday0800.addSecs(600);
    const auto kept = SchedulePanelRules::applyPanel({hourly}, shown);
    EXPECT_EQ(kept.first().frequency(), TarnixScheduleItem::Hourly);
    EXPECT_EQ(kept.first().selectedDaysForSchedule(), hourly.selectedDaysForSchedule());
    EXPECT_EQ(kept.first().scheduleTime(), shown.time);
}

TEST(SchedulePanelRulesTest, NotificationBoxKeepsOneSenseAndARunningOneOffIsLeftAlone)
{
    TarnixScheduleItem daily = jobOf(TarnixScheduleItem::Daily);
    daily.setNotifyOnFailure(true);
    TarnixScheduleItem running = jobOf(TarnixScheduleItem::Immediate);
    running.setStatus(TarnixScheduleItem::InProgress);
    const SchedulePanel shown = SchedulePanelRules::panelFor(daily);
    EXPECT_FALSE(shown.desktopNotification);
    EXPECT_TRUE(shown.dailyOn);
    const auto saved = SchedulePanelRules::applyPanel({daily, running}, shown);
    EXPECT_TRUE(saved[0].notifyOnFailure());  // shown and saved: unchanged
    EXPECT_EQ(saved[1].frequency(), TarnixScheduleItem::Immediate);
    EXPECT_EQ(saved[1].selectedDaysForSchedule(), running.selectedDaysForSchedule());
    EXPECT_EQ(saved[1].notifyOnFailure(), running.notifyOnFailure());
}

}  // namespace
