#include "desktop/kit/views/TXLevelIndicator.h"

#include "desktop/kit/views/Palette.h"

#include <QPainter>
#include <QPainterPath>

TXLevelIndicator::TXLevelIndicator(QWidget *parent)
    : QWidget(parent)
{}

void TXLevelIndicator::setPercentage(int percent)
{
    mValue.setPercentage(percent);
    update();
}

void TXLevelIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    QPainterPath trough;
    trough.addRoundedRect(bounds, 8.0, 8.0);
    painter.setClipPath(trough);
    painter.fillPath(trough, Palette::rgb(0.89, 0.89, 0.89));

    const QRectF bar =
        QRectF(bounds.x(), bounds.y(), mValue.barWidth(bounds.width()), bounds.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill = Palette::gradient(bar, 270);
    const bool warning = mValue.isWarning();
    fill.setColorAt(0.0, warning ? Palette::rgb(0.952, 0.66, 0.69) : Palette::rgb(0.32, 0.93, 0.3));
    fill.setColorAt(0.8, warning ? Palette::rgb(0.96, 0.19, 0.19) : Palette::rgb(0.27, 0.6, 0.25));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(bar, 0.5, 0.5);
    painter.setPen(QPen(Qt::gray, 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trough);

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(warning ? QColor(Qt::white) : Palette::rgb(0.2, 0.2, 0.2));
    painter.drawText(bounds.adjusted(0, 1, 0, 0), Qt::AlignCenter, mValue.text());

    painter.setClipping(false);
    painter.setPen(QPen(Palette::grey(0.89), 1.0));
    painter.drawRoundedRect(bounds.adjusted(1.5, 1.5, -1.5, -1.5), 7.5, 7.5);
}
