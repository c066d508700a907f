#pragma once

#include "monitor/editor/DayRowState.h"

#include <QWidget>

#include <array>

class QToolButton;

// The row of seven weekday toggles, Sunday at the left, each an equal slice of
// the row with the day's name on it. A click tells stateDidChange.
class DayControl : public QWidget
{
    Q_OBJECT
public:
    explicit DayControl(QWidget *parent = nullptr);

    DayRowState state() const { return mState; }
    void setState(const DayRowState &state);
    QToolButton *item(int day) const { return mItems[day]; }

signals:
    void stateDidChange();

private:
    void showState();

    DayRowState mState;
    std::array<QToolButton *, 7> mItems{};
};
