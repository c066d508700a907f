#pragma once

#include <QWidget>

// A white rounded panel (radius 4.5, inset 1 across and 4 down) that takes
// no clicks of its own.
class whiteView : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
