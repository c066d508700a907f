#include "monitor/drawing/CTGradient.h"

#include <QVariantList>

#include <cmath>
#include <numbers>

namespace {

using Color = CTGradient::Color;
using Hsv = CTGradient::Hsv;

const QString kElementCount = QStringLiteral("CTGradientElementCount");
const QString kBlendingMode = QStringLiteral("CTGradientBlendingMode");
const QString kElements = QStringLiteral("CTGradientElements");

CTGradient preset(CTGradient::BlendingMode mode, const QList<QList<double>> &stops)
{
    CTGradient gradient = CTGradient().gradientWithBlendingMode(mode);
    for (const QList<double> &s : stops)
        gradient = gradient.addColorStop({s[0], s[1], s[2], s[3]}, s[4]);
    return gradient;
}

double mix(double left, double right, double t) { return left + t * (right - left); }

// The undefined hue of one colour of a pair takes the other's; two greys take 0.
void resolveHSV(Hsv &left, Hsv &right)
{
    if (std::isnan(left.hue) && std::isnan(right.hue))
        left.hue = right.hue = 0;
    else if (std::isnan(right.hue))
        right.hue = left.hue;
    else if (std::isnan(left.hue))
        left.hue = right.hue;
}

}  // namespace

CTGradient CTGradient::gradientWithBeginningColor(const Color &begin, const Color &end)
{
    return CTGradient().addColorStop(begin, 0).addColorStop(end, 1);
}

CTGradient CTGradient::aquaSelectedGradient()
{
    return preset(
        Linear,
        {{0.58, 0.86, 0.98, 1, 0}, {0.42, 0.68, 0.90, 1, 0.5}, {0.64, 0.80, 0.94, 1, 0.5}, {0.56, 0.70, 0.90, 1, 1}});
}
CTGradient CTGradient::aquaNormalGradient()
{
    return preset(
        Linear,
        {{0.95, 0.95, 0.95, 1, 0}, {0.83, 0.83, 0.83, 1, 0.5}, {0.95, 0.95, 0.95, 1, 0.5}, {0.92, 0.92, 0.92, 1, 1}});
}
CTGradient CTGradient::aquaPressedGradient()
{
    return preset(
        Linear,
        {{0.80, 0.80, 0.80, 1, 0}, {0.64, 0.64, 0.64, 1, 0.5}, {0.80, 0.80, 0.80, 1, 0.5}, {0.77, 0.77, 0.77, 1, 1}});
}
CTGradient CTGradient::unifiedSelectedGradient()
{
    return preset(Linear, {{0.85, 0.85, 0.85, 1, 0}, {0.95, 0.95, 0.95, 1, 1}});
}
CTGradient CTGradient::unifiedNormalGradient()
{
    return preset(Linear, {{0.75, 0.75, 0.75, 1, 0}, {0.90, 0.90, 0.90, 1, 1}});
}
CTGradient CTGradient::unifiedPressedGradient()
{
    return preset(Linear, {{0.60, 0.60, 0.60, 1, 0}, {0.75, 0.75, 0.75, 1, 1}});
}
CTGradient CTGradient::unifiedDarkGradient()
{
    return preset(Linear, {{0.68, 0.68, 0.68, 1, 0}, {0.83, 0.83, 0.83, 1, 1}});
}
CTGradient CTGradient::sourceListSelectedGradient()
{
    return preset(Linear, {{0.06, 0.37, 0.85, 1, 0}, {0.30, 0.60, 0.92, 1, 1}});
}
CTGradient CTGradient::sourceListUnselectedGradient()
{
    return preset(Linear, {{0.43, 0.43, 0.43, 1, 0}, {0.60, 0.60, 0.60, 1, 1}});
}
CTGradient CTGradient::rainbowGradient() { return preset(Chromatic, {{1, 0, 0, 1, 0}, {0.54, 0, 1, 1, 1}}); }

CTGradient CTGradient::hydrogenSpectrumGradient()
{
    struct Line
    {
        double hue, position, width;
    };
    const Line lines[] = {{22, 0.145, 0.01}, {200, 0.71, 0.008}, {253, 0.885, 0.005}, {275, 0.965, 0.003}};
    CTGradient gradient = CTGradient().gradientWithBlendingMode(Chromatic);
    for (const Line &line : lines) {
        gradient = gradient.addColorStop(transformHSV_RGB({line.hue - line.width * 180, 1, 0.001, 1}),
                                         line.position - line.width);
        gradient = gradient.addColorStop(transformHSV_RGB({line.hue, 1, 1, 1}), line.position);
        gradient = gradient.addColorStop(transformHSV_RGB({line.hue + line.width * 180, 1, 0.001, 1}),
                                         line.position + line.width);
    }
    return gradient;
}

void CTGradient::addElement(const ColorStop &stop)
{
    // After the last stop whose position is not greater: equal positions keep their order.
    qsizetype at = 0;
    while (at < mStops.size() && mStops[at].position <= stop.position)
        ++at;
    mStops.insert(at, stop);
}

CTGradient CTGradient::gradientWithAlphaComponent(double alpha) const
{
    CTGradient copy;
    for (ColorStop stop : mStops) {
        stop.color.alpha = alpha;
        copy.addElement(stop);
    }
    return copy;
}

CTGradient CTGradient::gradientWithBlendingMode(BlendingMode mode) const
{
    CTGradient copy = *this;
    copy.mBlendingMode = mode;
    return copy;
}

CTGradient CTGradient::addColorStop(const Color &color, double position) const
{
    CTGradient copy = *this;
    copy.addElement({color, position});
    return copy;
}

std::optional<CTGradient> CTGradient::removeColorStopAtIndex(int index, RangeError *error) const
{
    if (index < 0 || index >= mStops.size()) {
        if (error)
            error->text = QStringLiteral("-[CTGradient removeColorStopAtIndex:]: index (%1) beyond bounds").arg(index);
        return std::nullopt;
    }
    CTGradient copy = *this;
    copy.mStops.removeAt(index);
    return copy;
}

std::optional<CTGradient> CTGradient::removeColorStopAtPosition(double position, RangeError *error) const
{
    for (qsizetype i = 0; i < mStops.size(); ++i) {
        if (mStops[i].position == position) {
            CTGradient copy = *this;
            copy.mStops.removeAt(i);
            return copy;
        }
    }
    if (error)
        error->text = QStringLiteral("-[CTGradient removeColorStopAtPosition:]: no such colorStop at position (%1)")
                          .arg(position, 0, 'f', 6);
    return std::nullopt;
}

std::optional<CTGradient::Color> CTGradient::colorStopAtIndex(int index, RangeError *error) const
{
    if (index < 0 || index >= mStops.size()) {
        if (error)
            error->text = QStringLiteral("-[CTGradient colorStopAtIndex:]: index (%1) beyond bounds").arg(index);
        return std::nullopt;
    }
    return mStops[index].color;
}

CTGradient::Color CTGradient::colorAtPosition(double position) const { return evaluate(position); }

CTGradient::Color CTGradient::evaluate(double position) const
{
    if (mStops.isEmpty())
        return {1, 1, 1, 1};
    qsizetype left = 0;
    qsizetype right = mStops.size() > 1 ? 1 : 0;
    while (right + 1 < mStops.size() && position > mStops[right].position) {
        ++left;
        ++right;
    }
    const ColorStop &a = mStops[left];
    const ColorStop &b = mStops[right];
    double t = 0;
    if (position <= a.position)
        t = 0;
    else if (position >= b.position)
        t = 1;
    else
        t = (position - a.position) / (b.position - a.position);

    if (mBlendingMode != Chromatic && mBlendingMode != InverseChromatic)
        return {mix(a.color.red, b.color.red, t), mix(a.color.green, b.color.green, t),
                mix(a.color.blue, b.color.blue, t), mix(a.color.alpha, b.color.alpha, t)};
    Hsv from = transformRGB_HSV(a.color);
    Hsv to = transformRGB_HSV(b.color);
    const bool bothDefined = !std::isnan(from.hue) && !std::isnan(to.hue);
    resolveHSV(from, to);
    // The hue always runs up (chromatic) or down (inverse chromatic).
    if (bothDefined && mBlendingMode == Chromatic && from.hue > to.hue)
        to.hue += 360;
    if (bothDefined && mBlendingMode == InverseChromatic && to.hue > from.hue)
        from.hue += 360;
    return transformHSV_RGB({mix(from.hue, to.hue, t), mix(from.saturation, to.saturation, t),
                             mix(from.value, to.value, t), mix(from.alpha, to.alpha, t)});
}

CTGradient::Hsv CTGradient::transformRGB_HSV(const Color &c)
{
    const double max = std::max({c.red, c.green, c.blue});
    const double min = std::min({c.red, c.green, c.blue});
    Hsv hsv;
    hsv.alpha = c.alpha;
    hsv.value = max;
    hsv.saturation = max == 0 ? 0 : 1 - min / max;
    if (max == min)
        hsv.hue = std::nan("");
    else if (max == c.red)
        hsv.hue = 60 * (c.green - c.blue) / (max - min) + (c.green < c.blue ? 360 : 0);
    else if (max == c.green)
        hsv.hue = 60 * (c.blue - c.red) / (max - min) + 120;
    else
        hsv.hue = 60 * (c.red - c.green) / (max - min) + 240;
    return hsv;
}

CTGradient::Color CTGradient::transformHSV_RGB(const Hsv &hsv)
{
    // A whole turn is 360 degrees: 360 is red again.
    double h = std::fmod(hsv.hue, 360.0);
    if (h < 0)
        h += 360;
    const int i = int(std::floor(h / 60));
    const double f = h / 60 - i;
    const double v = hsv.value, s = hsv.saturation;
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i % 6) {
    case 1:
        return {q, v, p, hsv.alpha};
    case 2:
        return {p, v, t, hsv.alpha};
    case 3:
        return {p, q, v, hsv.alpha};
    case 4:
        return {t, p, v, hsv.alpha};
    case 5:
        return {v, p, q, hsv.alpha};
    default:
        return {v, t, p, hsv.alpha};
    }
}

QLineF CTGradient::fillAxis(const QRectF &rect, double angle)
{
    if (angle == 0)
        return QLineF(rect.left(), rect.top(), rect.right(), rect.top());
    if (angle == 90)
        return QLineF(rect.left(), rect.top(), rect.left(), rect.bottom());
    const double theta = std::numbers::pi * angle / 180;
    const double w = rect.width(), h = rect.height();
    double length = 0;
    if (std::abs(std::tan(theta)) <= 1) {
        length = std::abs(std::sin(theta)) * (h - std::abs(std::tan(theta)) * w) + w / std::abs(std::cos(theta));
    } else {
        const double phi = theta - std::numbers::pi / 2;
        length = std::abs(std::sin(phi)) * (w - std::abs(std::tan(phi)) * h) + h / std::abs(std::cos(phi));
    }
    const QPointF half(std::cos(theta) * length / 2, std::sin(theta) * length / 2);
    return QLineF(rect.center() - half, rect.center() + half);
}

QVariantMap CTGradient::encode() const
{
    QVariantList elements;
    for (const ColorStop &stop : mStops)
        elements << stop.color.red << stop.color.green << stop.color.blue << stop.color.alpha << stop.position;
    return {{kElements, elements}, {kElementCount, int(mStops.size())}, {kBlendingMode, int(mBlendingMode)}};
}

std::optional<CTGradient> CTGradient::decode(const QVariantMap &coded)
{
    const QVariantList elements = coded.value(kElements).toList();
    const int count = coded.value(kElementCount).toInt();
    if (count < 0 || elements.size() != qsizetype(count) * 5)
        return std::nullopt;
    CTGradient gradient = CTGradient().gradientWithBlendingMode(BlendingMode(coded.value(kBlendingMode).toInt()));
    for (int i = 0; i < count; ++i) {
        const auto at = [&](int field) { return elements[i * 5 + field].toDouble(); };
        gradient.addElement({{at(0), at(1), at(2), at(3)}, at(4)});
    }
    return gradient;
}
