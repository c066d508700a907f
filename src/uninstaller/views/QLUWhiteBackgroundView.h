#pragma once

#include <QWidget>

// The white panel the panes sit on, framed by a one-pixel gray line.
class QLUWhiteBackgroundView : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
