#pragma once

#include "monitor/editor/ScheduleEditorState.h"
#include "monitor/schedules/TarnixScheduleItem.h"

#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

// The schedule editor sheet's decisions: how a record opens in it, what each
// control does to the sheet and to the edited record while the user works,
// which controls take input, and what the record holds when it is saved.
//   daily record                 -> first row "Daily Schedule", every day on
//   selected days, no day list   -> "Week-Day(s)", Monday to Friday
//   daily row clicked thrice     -> every day on, none, every day on
//   Monday..Friday toggled on    -> first row retitled "Week-Day(s)", still checked
//   last day toggled off         -> no row checked: the options take no input
//   "once now" row clicked       -> the time picker takes no input
namespace ScheduleEditorRules {

inline const QString kDailyTitle = QStringLiteral("Daily Schedule");
inline const QString kWeekDaysTitle = QStringLiteral("Week-Day(s)");
inline const QString kHourlyTitle = QStringLiteral("Hourly Schedule");
inline const QString kImmediateTitle = QStringLiteral("Immediate");
inline const QString kMonthlyTitle = QStringLiteral("Monthly Schedule");

QString firstRowTitle(const ScheduleEditorState &state);

// The sheet for a record; a selected-days record without days is given Monday
// to Friday, a weekdays record without days the weekday of its time.
ScheduleEditorState open(TarnixScheduleItem &record);

// A row of the time settings was clicked (it is then the checked one).
void rowClicked(ScheduleEditorState &state, int row, TarnixScheduleItem &edited, const QDateTime &now);
// The user toggled a weekday.
void daysChanged(ScheduleEditorState &state);
// The day-of-month list is about to open: the sheet switches to monthly.
void dayListWillOpen(ScheduleEditorState &state);

ScheduleEditorEnabled enabled(const ScheduleEditorState &state);

// The record's frequency, time and day list as the checked row gives them,
// with the picker's time (and date, for the hourly row) and the day of the
// month; false when no row is checked (the save then means a delete).
bool applyChoice(const ScheduleEditorState &state, TarnixScheduleItem &record, const QDateTime &picked, int dayOfMonth,
                 const QDateTime &now);

// Why the record's e-mail settings cannot be saved; none when they can.
std::optional<QString> emailProblem(const TarnixScheduleItem &record);

}  // namespace ScheduleEditorRules
