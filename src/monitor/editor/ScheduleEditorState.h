#pragma once

#include "monitor/editor/DayRowState.h"

#include <QList>

// What the schedule editor sheet shows at one moment: the checked row of the
// time settings (none, daily or weekdays, hourly, once now, monthly), the
// first row's title, the weekday toggles and the boxes that steer the other
// controls' enabled states.
struct ScheduleEditorState
{
    enum Row
    {
        NoRow = -1,
        DailyRow = 0,
        HourlyRow = 1,
        ImmediateRow = 2,
        MonthlyRow = 3
    };

    int checkedRow = NoRow;
    bool weekDaysTitle = false;  // the first row reads "Week-Day(s)" rather than "Daily Schedule"
    DayRowState days;
    // The daily row last turned every day on, so that its next click clears them.
    bool allDaysByDailyRow = false;
    // The day-of-month list was opened (it switches the sheet to monthly).
    bool dayListOpened = false;
    bool emailOn = false;
    bool cutoffOn = false;
};

// Which of the sheet's controls take input.
struct ScheduleEditorEnabled
{
    bool timePicker = false;
    bool desktopNotification = false;
    bool emailField = false;
    bool emailBox = false;
    bool cutoffBox = false;
    bool cutoffPicker = false;
    bool logExtract = false;
    bool notifyRadios = false;
    bool dayOfMonth = false;

    bool operator==(const ScheduleEditorEnabled &) const = default;
};
