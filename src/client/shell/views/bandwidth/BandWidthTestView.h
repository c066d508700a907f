#pragma once

#include <QWidget>

// A panel of the bandwidth-test window: draws the window's background
// picture ("bandwidthtest", else a soft wash of the brand's colour) over its
// whole area, whatever part of it is being repainted.
class BandWidthTestView : public QWidget
{
public:
    explicit BandWidthTestView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
