#include "monitor/views/drawing/MRGradientFill.h"

#include "monitor/drawing/CTGradient.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace {

// Enough samples that a chromatic gradient's hue runs smoothly.
constexpr int kSamples = 48;

QColor colour(const CTGradient::Color &c)
{
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue), float(c.alpha));
}

}  // namespace

namespace MRGradientFill {

QPainterPath bezierPathWithRoundedRect(const QRectF &rect, qreal cornerRadius)
{
    QPainterPath path;
    if (rect.isEmpty())
        return path;
    const qreal radius = std::min(cornerRadius, std::min(rect.width(), rect.height()) / 2);
    if (radius <= 0)
        path.addRect(rect);
    else
        path.addRoundedRect(rect, radius, radius);
    return path;
}

void linearGradientFill(QPainter &painter, const QRectF &rect, const QColor &start, const QColor &end, bool horizontal)
{
    QLinearGradient shading = horizontal ? QLinearGradient(rect.topLeft(), rect.bottomLeft())
                                         : QLinearGradient(rect.topLeft(), rect.topRight());
    shading.setColorAt(0, start);
    shading.setColorAt(1, end);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, shading);
    painter.restore();
}

void fillRect(QPainter &painter, const CTGradient &gradient, const QRectF &rect, double angle)
{
    // The gradient's axis counts up from the bottom; the painter's y runs down.
    QLineF axis = CTGradient::fillAxis(QRectF(0, 0, rect.width(), rect.height()), angle);
    const auto flip = [&rect](const QPointF &p) { return QPointF(rect.left() + p.x(), rect.bottom() - p.y()); };
    QLinearGradient shading(flip(axis.p1()), flip(axis.p2()));
    for (int i = 0; i <= kSamples; ++i) {
        const double t = double(i) / kSamples;
        shading.setColorAt(t, colour(gradient.colorAtPosition(t)));
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.fillRect(rect, shading);
    painter.restore();
}

}  // namespace MRGradientFill
