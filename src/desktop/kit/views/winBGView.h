#pragma once

#include <QWidget>

// The window background: a rounded panel (radius 7) with a light blue-grey gradient from the top down.
class winBGView : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
