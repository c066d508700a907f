#pragma once

#include <QWidget>

// A grey separator box.
class customBox : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
