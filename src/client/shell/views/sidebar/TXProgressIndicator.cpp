#include "client/shell/views/sidebar/TXProgressIndicator.h"

#include "desktop/kit/CustomViewGeometry.h"

#include <QPainter>
#include <QPainterPath>

TXProgressIndicator::TXProgressIndicator(QWidget *parent)
    : QWidget(parent)
{}

void TXProgressIndicator::setRange(double minimum, double maximum)
{
    mMinimum = minimum;
    mMaximum = maximum;
    update();
}

void TXProgressIndicator::setValue(double value)
{
    mValue = value;
    update();
}

void TXProgressIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF oval = QRectF(rect()).adjusted(1.0, 1.0, -1.0, -1.0);
    painter.setPen(QPen(Qt::red, 2.0));
    painter.drawEllipse(oval);
    const double degrees = CustomViewGeometry::progressWedgeDegrees(mValue, mMinimum, mMaximum);
    if (degrees <= 0)
        return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::red);
    if (degrees >= 360.0) {
        painter.drawEllipse(oval);
        return;
    }
    QPainterPath wedge;
    wedge.moveTo(oval.center());
    // Qt's angles run counter-clockwise from three o'clock.
    wedge.arcTo(oval, 90.0, -degrees);
    wedge.closeSubpath();
    painter.drawPath(wedge);
}
