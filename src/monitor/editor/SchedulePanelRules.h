#pragma once

#include "monitor/editor/DayRowState.h"
#include "monitor/schedules/TarnixScheduleItem.h"

#include <QDateTime>
#include <QList>
#include <QString>

// What the schedule window's inline panel shows of a user's job, and what its
// controls make of the user's records when saved.
//   daily job                         -> daily box on, "Daily schedule", every day on
//   Monday..Friday on, daily box on   -> frequency 5, days "1".."5"
//   all seven on                      -> frequency 2
//   only the immediate box on         -> frequency 0
//   a one-off job in progress         -> left as it is by a save
//   only the time or a notification changed -> frequency and days stay (an hourly
//                                      or monthly job, which the boxes cannot show, keeps its kind)
// The desktop-notification box stands for e-mails on every run: on when the
// record's notifyOnFailure is off, and saved the same way round.
struct SchedulePanel
{
    bool dailyOn = false;
    DayRowState days;
    bool immediateOn = false;
    QDateTime time;
    bool emailOn = false;
    QString emails;
    bool desktopNotification = false;
    bool startMissed = false;
    // The change was to the days or the boxes, which choose the job's kind.
    bool kindChosen = false;
};

namespace SchedulePanelRules {

inline const QString kDailyTitle = QStringLiteral("Daily schedule");
inline const QString kWeekDaysTitle = QStringLiteral("Week-Day(s)");
inline const QString kInProgressNote =
    QStringLiteral("Note: Changes to the scheduled job will not be saved as the scheduled backup is underway.");

// "Week-Day(s)" for one to six days, else "Daily schedule".
QString dailyTitle(int dayCount);

SchedulePanel panelFor(const TarnixScheduleItem &record);

// The frequency the boxes give: 2 daily with all seven days, 5 daily with
// fewer, 0 with only the immediate box, else the record's own.
int frequencyFor(const SchedulePanel &panel, int current);

// Whether a save of the panel would leave the user no job: the days or boxes
// were changed to no day and no immediate run.
bool removesAllJobs(const SchedulePanel &panel);

// The user's records with the panel's settings; a one-off job in progress stays as it is.
QList<TarnixScheduleItem> applyPanel(QList<TarnixScheduleItem> records, const SchedulePanel &panel);

}  // namespace SchedulePanelRules
