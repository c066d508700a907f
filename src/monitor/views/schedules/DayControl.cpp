#include "monitor/views/schedules/DayControl.h"

#include "monitor/schedules/TarnixScheduleItem.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QToolButton>

DayControl::DayControl(QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (int day = 0; day < 7; ++day) {
        auto *item = new QToolButton(this);
        item->setText(TarnixScheduleItem::dayName(day).left(3));
        item->setToolTip(TarnixScheduleItem::dayName(day));
        item->setCheckable(true);
        item->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        item->setStyleSheet(QStringLiteral("QToolButton { font-size: 10pt; color: #404040; border: 1px solid #9aa7b0;"
                                           " border-radius: 3px; background: #f4f4f4; padding: 3px; }"
                                           "QToolButton:checked { background: #7fb2d9; color: #202020; }"
                                           "QToolButton:disabled { color: #909090; }"
                                           "QToolButton:checked:disabled { background: #c4d6e4; color: #606060; }"));
        if (day > 0) {
            auto *shadow = new QGraphicsDropShadowEffect(item);
            shadow->setOffset(3, 3);
            shadow->setBlurRadius(4);
            shadow->setColor(QColor(0, 0, 0, 60));
            item->setGraphicsEffect(shadow);
        }
        connect(item, &QToolButton::clicked, this, [this, day] {
            mState.toggle(day);
            showState();
            emit stateDidChange();
        });
        row->addWidget(item, 1);
        mItems[day] = item;
    }
}

void DayControl::setState(const DayRowState &state)
{
    mState = state;
    showState();
}

void DayControl::showState()
{
    for (int day = 0; day < 7; ++day)
        mItems[day]->setChecked(mState.isOn(day));
}
