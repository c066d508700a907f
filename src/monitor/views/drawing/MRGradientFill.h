#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;
class CTGradient;

// Rounded paths and gradient fills of the monitor's drawing kit.
namespace MRGradientFill {

// A rounded rectangle; the radius is at most half the shorter side (a stadium
// then), and a radius of 0 or less gives the plain rectangle.
QPainterPath bezierPathWithRoundedRect(const QRectF &rect, qreal cornerRadius);

// Fills the painter's clip area with a two-colour shading over the rectangle:
// from the start colour to the end colour, top to bottom when horizontal
// (bands run horizontally), else left to right.
void linearGradientFill(QPainter &painter, const QRectF &rect, const QColor &start, const QColor &end, bool horizontal);

// Fills the rectangle with the gradient along the angle (degrees, counted up from the left-to-right axis).
void fillRect(QPainter &painter, const CTGradient &gradient, const QRectF &rect, double angle);

}  // namespace MRGradientFill
