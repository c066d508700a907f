#include "monitor/views/drawing/iTunesScrollerStyle.h"

#include "monitor/drawing/CTGradient.h"
#include "monitor/views/drawing/MRGradientFill.h"

#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionSlider>

namespace {

constexpr qreal kRegularKnobRadius = 6.5;
constexpr qreal kSmallKnobRadius = 4.5;
constexpr int kSmallBarThickness = 12;

}  // namespace

void iTunesScrollerStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                             QPainter *painter, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const bool vertical = bar->orientation == Qt::Vertical;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // The slot: light grey to white across the bar, with a light grey outline.
    const QRectF bounds = bar->rect;
    const QColor light(0xd3, 0xd3, 0xd3);
    const CTGradient slot = CTGradient::gradientWithBeginningColor(
        {(light.redF() + 1) / 2, (light.greenF() + 1) / 2, (light.blueF() + 1) / 2, 1}, {1, 1, 1, 1});
    MRGradientFill::fillRect(*painter, slot, bounds, vertical ? 0 : 90);
    painter->setPen(QPen(light, 1));
    painter->drawRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5));

    const auto part = [&](SubControl sub) { return QRectF(subControlRect(CC_ScrollBar, bar, sub, widget)); };
    drawArrow(*painter, part(SC_ScrollBarSubLine), vertical, true, bar->activeSubControls & SC_ScrollBarSubLine);
    drawArrow(*painter, part(SC_ScrollBarAddLine), vertical, false, bar->activeSubControls & SC_ScrollBarAddLine);
    if (bar->maximum > bar->minimum)
        drawKnob(*painter, part(SC_ScrollBarSlider), vertical);
    painter->restore();
}

void iTunesScrollerStyle::drawKnob(QPainter &painter, QRectF knob, bool vertical) const
{
    // Inset by a point at each side across the bar.
    knob = vertical ? knob.adjusted(1, 0, -1, 0) : knob.adjusted(0, 1, 0, -1);
    if (knob.isEmpty())
        return;
    const qreal thickness = vertical ? knob.width() : knob.height();
    const QPainterPath path = MRGradientFill::bezierPathWithRoundedRect(
        knob, thickness >= kSmallBarThickness ? kRegularKnobRadius : kSmallKnobRadius);
    painter.save();
    painter.setClipPath(path);
    MRGradientFill::linearGradientFill(painter, knob, QColor::fromRgbF(89 / 255.0f, 105 / 255.0f, 131 / 255.0f),
                                       QColor::fromRgbF(0.75f, 0.80f, 0.85f), !vertical);
    painter.restore();
    painter.setPen(QPen(QColor(89, 105, 131), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void iTunesScrollerStyle::drawArrow(QPainter &painter, const QRectF &button, bool vertical, bool decrement,
                                    bool highlighted) const
{
    if (button.isEmpty())
        return;
    painter.fillRect(button, QColor(64, 64, 64, 77));
    painter.setPen(
        QPen(highlighted ? QColor::fromRgbF(0.51f, 0.576f, 0.675f) : QColor::fromRgbF(0.663f, 0.663f, 0.663f), 1));
    if (vertical) {
        painter.drawLine(QPointF(button.left(), button.top() + 0.5), QPointF(button.right(), button.top() + 0.5));
        painter.drawLine(QPointF(button.left(), button.bottom() - 0.5), QPointF(button.right(), button.bottom() - 0.5));
    } else {
        painter.drawLine(QPointF(button.left() + 0.5, button.top()), QPointF(button.left() + 0.5, button.bottom()));
        painter.drawLine(QPointF(button.right() - 0.5, button.top()), QPointF(button.right() - 0.5, button.bottom()));
    }
    const QPointF c = button.center();
    const qreal towards = decrement ? -1 : 1;  // up or left for the decrement button
    const QPolygonF triangle = vertical ? QPolygonF({c + QPointF(0, 2.5 * towards), c + QPointF(3.5, -3.0 * towards),
                                                     c + QPointF(-3.5, -3.0 * towards)})
                                        : QPolygonF({c + QPointF(2.5 * towards, 0), c + QPointF(-3.0 * towards, 3.5),
                                                     c + QPointF(-3.0 * towards, -3.5)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(64, 64, 64));
    painter.drawPolygon(triangle);
}
