#include "desktop/kit/views/whiteView.h"

#include "desktop/kit/views/Palette.h"

#include <QPainter>

void whiteView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::grey(0.98));
    painter.drawRoundedRect(QRectF(rect()).adjusted(1.0, 4.0, -1.0, -4.0), 4.5, 4.5);
}
