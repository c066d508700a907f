#include "monitor/views/drawing/RoundedCornersView.h"

#include "desktop/kit/views/Palette.h"
#include "monitor/views/MonitorArtwork.h"
#include "monitor/views/drawing/MRGradientFill.h"

#include <QPainter>

void RoundedCornersView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    painter.fillPath(MRGradientFill::bezierPathWithRoundedRect(bounds, kRadius),
                     QBrush(MonitorArtwork::image(QStringLiteral("LoginWinBg.png"))));
    painter.setPen(QPen(Palette::tableAccent(), 0.5));
    painter.drawPath(MRGradientFill::bezierPathWithRoundedRect(bounds.adjusted(1, 1, -1, -1), kRadius));
}
