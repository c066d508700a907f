#include "monitor/editor/DayRowState.h"

#include <algorithm>

namespace {

bool isWeekday(int day) { return day >= 0 && day <= 6; }

}  // namespace

QList<int> DayRowState::selectedDays() const
{
    QList<int> days;
    for (int day = 0; day < 7; ++day)
        if (mOn[day])
            days << day;
    return days;
}

int DayRowState::count() const { return int(std::count(mOn.cbegin(), mOn.cend(), true)); }

int DayRowState::dayState() const
{
    const int on = count();
    if (on == 7)
        return kAllOn;
    return on == 0 ? kNoneOn : kSomeOn;
}

bool DayRowState::isOn(int day) const { return isWeekday(day) && mOn[day]; }

void DayRowState::setDayState(int state)
{
    if (state == kAllOn || state == kNoneOn)
        mOn.fill(state == kAllOn);
}

void DayRowState::setSelectedDays(const QList<int> &days)
{
    for (int day : days)
        if (isWeekday(day))
            mOn[day] = true;
}

void DayRowState::toggle(int day)
{
    if (isWeekday(day))
        mOn[day] = !mOn[day];
}
