#include "monitor/views/drawing/ProgressView.h"

#include "monitor/views/drawing/MRGradientFill.h"

#include <QPainter>

#include <algorithm>

ProgressView::ProgressView(QWidget *parent)
    : QWidget(parent)
{}

void ProgressView::setProgressValue(int percent)
{
    mProgressValue = std::clamp(percent, 0, 100);
    update();
}

QString ProgressView::text() const { return QStringLiteral("%1 %").arg(mProgressValue); }

void ProgressView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    painter.setClipPath(MRGradientFill::bezierPathWithRoundedRect(bounds, 0.5));
    MRGradientFill::linearGradientFill(painter, bounds, QColor::fromRgbF(0.32f, 0.93f, 0.30f),
                                       QColor::fromRgbF(0.27f, 0.60f, 0.25f), true);
    const qreal filled = bounds.width() * mProgressValue / 100.0;
    painter.fillRect(bounds.adjusted(filled, 0, 0, 0), QColor(0xd3, 0xd3, 0xd3));
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0xd3, 0xd3, 0xd3), 1));
    painter.drawPath(MRGradientFill::bezierPathWithRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), 1));
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(bounds, Qt::AlignCenter, text());
}
