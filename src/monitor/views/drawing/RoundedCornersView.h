#pragma once

#include <QWidget>

// A panel with rounded corners (radius 5) filled with the windows' light
// pattern and outlined half a point wide, one point inside its edges.
class RoundedCornersView : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    static constexpr qreal kRadius = 5.0;

protected:
    void paintEvent(QPaintEvent *event) override;
};
