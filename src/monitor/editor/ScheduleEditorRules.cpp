#include "monitor/editor/ScheduleEditorRules.h"

#include "common/utility/QLUtility.h"
#include "monitor/schedules/ScheduleDateRules.h"

namespace ScheduleEditorRules {

namespace {

QVariantList dayVariants(const QList<int> &days)
{
    QVariantList list;
    for (int day : days)
        list << day;
    return list;
}

const QList<int> kMondayToFriday{1, 2, 3, 4, 5};

}  // namespace

QString firstRowTitle(const ScheduleEditorState &state) { return state.weekDaysTitle ? kWeekDaysTitle : kDailyTitle; }

ScheduleEditorState open(TarnixScheduleItem &record)
{
    ScheduleEditorState state;
    state.emailOn = record.sendEmailNotification();
    switch (record.frequency()) {
    case TarnixScheduleItem::Daily:
        state.checkedRow = ScheduleEditorState::DailyRow;
        state.days.setDayState(DayRowState::kAllOn);
        break;
    case TarnixScheduleItem::SelectedDays:
    case TarnixScheduleItem::Weekdays: {
        state.checkedRow = ScheduleEditorState::DailyRow;
        state.weekDaysTitle = true;
        if (record.selectedDaysForSchedule().isEmpty()) {
            const QList<int> days = record.frequency() == TarnixScheduleItem::SelectedDays
                                        ? kMondayToFriday
                                        : QList<int>{ScheduleDateRules::weekdayIndex(record.scheduleTime())};
            record.setSelectedDaysForSchedule(dayVariants(days));
        }
        state.days.setSelectedDays(TarnixScheduleItem::dayIndexes(record.selectedDaysForSchedule()));
        break;
    }
    case TarnixScheduleItem::Hourly:
        state.checkedRow = ScheduleEditorState::HourlyRow;
        break;
    case TarnixScheduleItem::Immediate:
        state.checkedRow = ScheduleEditorState::ImmediateRow;
        break;
    case TarnixScheduleItem::Monthly:
        state.checkedRow = ScheduleEditorState::MonthlyRow;
        break;
    default:
        break;
    }
    return state;
}

void rowClicked(ScheduleEditorState &state, int row, TarnixScheduleItem &edited, const QDateTime &now)
{
    state.checkedRow = row;
    const bool allDays = row == ScheduleEditorState::DailyRow && !state.allDaysByDailyRow;
    if (row == ScheduleEditorState::DailyRow) {
        // A daily record gets now as its time; a weekdays one keeps its time until saved.
        if (!state.weekDaysTitle) {
            edited.setScheduleTime(now);
            edited.setFrequency(TarnixScheduleItem::Daily);
        }
        state.weekDaysTitle = false;
    } else if (row == ScheduleEditorState::HourlyRow || row == ScheduleEditorState::ImmediateRow) {
        edited.setScheduleTime(now);
        edited.setFrequency(row == ScheduleEditorState::HourlyRow ? TarnixScheduleItem::Hourly
                                                                  : TarnixScheduleItem::Immediate);
    } else if (row == ScheduleEditorState::MonthlyRow) {
        edited.setFrequency(TarnixScheduleItem::Monthly);
    }
    state.days.setDayState(allDays ? DayRowState::kAllOn : DayRowState::kNoneOn);
    state.allDaysByDailyRow = allDays;
    edited.setScheduleTimeSettings(row);
}

void daysChanged(ScheduleEditorState &state)
{
    state.dayListOpened = false;
    const int on = state.days.count();
    state.checkedRow = on == 0 ? ScheduleEditorState::NoRow : ScheduleEditorState::DailyRow;
    state.weekDaysTitle = on > 0 && on < 7;
    state.allDaysByDailyRow = on == 7;
}

void dayListWillOpen(ScheduleEditorState &state)
{
    state.checkedRow = ScheduleEditorState::MonthlyRow;
    state.weekDaysTitle = false;
    state.days.setDayState(DayRowState::kNoneOn);
    state.allDaysByDailyRow = false;
    state.dayListOpened = true;
}

ScheduleEditorEnabled enabled(const ScheduleEditorState &state)
{
    ScheduleEditorEnabled on;
    if (state.checkedRow == ScheduleEditorState::NoRow)
        return on;
    on.timePicker = state.checkedRow != ScheduleEditorState::ImmediateRow;
    on.desktopNotification = on.emailField = on.emailBox = on.cutoffBox = true;
    on.logExtract = on.notifyRadios = state.emailOn;
    on.cutoffPicker = state.cutoffOn;
    on.dayOfMonth = state.checkedRow == ScheduleEditorState::MonthlyRow;
    return on;
}

bool applyChoice(const ScheduleEditorState &state, TarnixScheduleItem &record, const QDateTime &picked, int dayOfMonth,
                 const QDateTime &now)
{
    const QTime chosen = picked.time();
    switch (state.checkedRow) {
    case ScheduleEditorState::DailyRow:
        if (!state.weekDaysTitle) {
            record.setSelectedDaysForSchedule({});
            record.setFrequency(TarnixScheduleItem::Daily);
            record.setScheduleTime(ScheduleDateRules::nextscheduleDateForDailySchedule(chosen, now));
        } else {
            record.setFrequency(TarnixScheduleItem::SelectedDays);
            if (state.days.count() > 0)
                record.setSelectedDaysForSchedule(dayVariants(state.days.selectedDays()));
            record.setScheduleTime(ScheduleDateRules::nextScheduleTransferDate(record, chosen, now));
        }
        return true;
    case ScheduleEditorState::HourlyRow:
        record.setFrequency(TarnixScheduleItem::Hourly);
        record.setScheduleTime(picked);
        record.setSelectedDaysForSchedule(ScheduleDateRules::hourlyDays(now));
        return true;
    case ScheduleEditorState::ImmediateRow: {
        record.setFrequency(TarnixScheduleItem::Immediate);
        const auto run = ScheduleDateRules::immediateRun(now);
        record.setScheduleTime(run.time);
        record.setSelectedDaysForSchedule(run.days);
        return true;
    }
    case ScheduleEditorState::MonthlyRow: {
        record.setFrequency(TarnixScheduleItem::Monthly);
        const auto run = ScheduleDateRules::monthlyRun(dayOfMonth, chosen, now);
        record.setScheduleTime(run.time);
        record.setSelectedDaysForSchedule(run.days);
        return true;
    }
    default:
        return false;
    }
}

std::optional<QString> emailProblem(const TarnixScheduleItem &record)
{
    if (!record.sendEmailNotification())
        return std::nullopt;
    if (record.emailids().trimmed().isEmpty())
        return QStringLiteral("Enter an email address to receive the email notification");
    for (const QString &address : record.emailids().split(QLatin1Char(',')))
        if (!QLUtility::isEmailID(address.trimmed()))
            return QStringLiteral("Provide a valid email address");
    return std::nullopt;
}

}  // namespace ScheduleEditorRules
