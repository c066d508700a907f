#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QRectF>

// The main window's shared colours (grey 0.98, the blue-grey accent, the
// header gradient, the separator) and the gradient directions of its views.
namespace Palette {

inline QColor grey(double white, double alpha = 1.0) { return QColor::fromRgbF(white, white, white, alpha); }
inline QColor rgb(double r, double g, double b, double a = 1.0) { return QColor::fromRgbF(r, g, b, a); }

inline QColor background() { return grey(0.98, 0.98); }
inline QColor groundAccent() { return rgb(0.3922, 0.5569, 0.6457); }
inline QColor tableAccent() { return rgb(0.3922, 0.5569, 0.6157); }
inline QColor separator() { return rgb(0.4549, 0.5529, 0.6196); }
inline QColor headerTop() { return rgb(0.49, 0.71, 0.83); }
inline QColor headerBottom() { return rgb(0.43, 0.62, 0.78); }

// A gradient over a rectangle by the drawing angle of the original views:
// 270 degrees runs from the top edge down, 90 degrees from the bottom edge up.
inline QLinearGradient gradient(const QRectF &rect, int angle)
{
    return angle == 270 ? QLinearGradient(rect.topLeft(), rect.bottomLeft())
                        : QLinearGradient(rect.bottomLeft(), rect.topLeft());
}

inline QLinearGradient headerGradient(const QRectF &rect, int angle)
{
    QLinearGradient g = gradient(rect, angle);
    g.setColorAt(0.0, headerTop());
    g.setColorAt(0.9, headerBottom());
    return g;
}

}  // namespace Palette
