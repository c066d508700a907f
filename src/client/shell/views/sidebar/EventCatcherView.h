#pragma once

#include <QWidget>

// A transparent area that reports a click on it (the space-used label starts
// a size run with it) and shows the pointing hand over it.
class EventCatcherView : public QWidget
{
    Q_OBJECT
public:
    explicit EventCatcherView(QWidget *parent = nullptr);

signals:
    void viewWasClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
