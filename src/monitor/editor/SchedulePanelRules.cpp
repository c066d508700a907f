#include "monitor/editor/SchedulePanelRules.h"

namespace SchedulePanelRules {

QString dailyTitle(int dayCount) { return dayCount >= 1 && dayCount <= 6 ? kWeekDaysTitle : kDailyTitle; }

SchedulePanel panelFor(const TarnixScheduleItem &record)
{
    SchedulePanel panel;
    if (record.frequency() == TarnixScheduleItem::Hourly || record.frequency() == TarnixScheduleItem::Daily)
        panel.days.setDayState(DayRowState::kAllOn);
    else
        panel.days.setSelectedDays(TarnixScheduleItem::dayIndexes(record.selectedDaysForSchedule()));
    panel.dailyOn = panel.days.count() > 0 && record.frequency() != TarnixScheduleItem::Immediate;
    panel.immediateOn = record.frequency() == TarnixScheduleItem::Immediate;
    panel.time = record.scheduleTime();
    panel.emailOn = record.sendEmailNotification();
    panel.emails = record.emailids();
    panel.desktopNotification = !record.notifyOnFailure();
    panel.startMissed = record.shouldStartMissedScheduleBackup();
    return panel;
}

int frequencyFor(const SchedulePanel &panel, int current)
{
    if (panel.dailyOn)
        return panel.days.count() == 7 ? TarnixScheduleItem::Daily : TarnixScheduleItem::SelectedDays;
    return panel.immediateOn ? int(TarnixScheduleItem::Immediate) : current;
}

bool removesAllJobs(const SchedulePanel &panel)
{
    return panel.kindChosen && !panel.immediateOn && (!panel.dailyOn || panel.days.count() == 0);
}

QList<TarnixScheduleItem> applyPanel(QList<TarnixScheduleItem> records, const SchedulePanel &panel)
{
    QVariantList days;
    for (int day : panel.days.selectedDays())
        days << QString::number(day);
    for (TarnixScheduleItem &record : records) {
        if (record.status() == TarnixScheduleItem::InProgress && record.frequency() == TarnixScheduleItem::Immediate)
            continue;
        record.setScheduleTime(panel.time);
        record.setSendEmailNotification(panel.emailOn);
        record.setEmailids(panel.emails);
        record.setNotifyOnFailure(!panel.desktopNotification);
        record.setShouldStartMissedScheduleBackup(panel.startMissed);
        if (!panel.kindChosen)
            continue;
        record.setSelectedDaysForSchedule(days);
        record.setFrequency(frequencyFor(panel, record.frequency()));
    }
    return records;
}

}  // namespace SchedulePanelRules
