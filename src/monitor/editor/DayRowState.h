#pragma once

#include <QList>

#include <array>

// The seven weekday toggles of the schedule editor, Sunday (0) to Saturday (6),
// and their summary state. The summary numbers are the editor's own: 0 means
// every day on, 1 none, -1 some.
//   fresh row, toggle(1), toggle(3)  -> selectedDays() [1, 3], dayState() -1
//   setDayState(0)                   -> [0 .. 6], dayState() 0
//   Monday on, setSelectedDays({5})  -> [1, 5] (adds to the selection)
class DayRowState
{
public:
    static constexpr int kAllOn = 0;
    static constexpr int kNoneOn = 1;
    static constexpr int kSomeOn = -1;

    // The indexes of the days that are on, ascending.
    QList<int> selectedDays() const;
    int dayState() const;
    int count() const;
    bool isOn(int day) const;

    // 0 turns every day on, 1 every day off; any other value changes nothing.
    void setDayState(int state);
    // Turns the listed days on; the others keep their state; indexes outside 0-6 are skipped.
    void setSelectedDays(const QList<int> &days);
    void toggle(int day);

private:
    std::array<bool, 7> mOn{};
};
