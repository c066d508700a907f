#include "client/shell/views/sidebar/EventCatcherView.h"

#include <QMouseEvent>

EventCatcherView::EventCatcherView(QWidget *parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
}

void EventCatcherView::mousePressEvent(QMouseEvent *event)
{
    emit viewWasClicked();
    QWidget::mousePressEvent(event);
}
