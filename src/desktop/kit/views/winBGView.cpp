#include "desktop/kit/views/winBGView.h"

#include "desktop/kit/views/Palette.h"

#include <QPainter>

void winBGView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    QLinearGradient fill = Palette::gradient(bounds, 270);
    fill.setColorAt(0.0, Palette::rgb(0.98, 0.98, 0.99));
    fill.setColorAt(0.9, Palette::rgb(0.78, 0.86, 0.91));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(bounds, 7.0, 7.0);
}
