#pragma once

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <QVariantMap>

#include <optional>

// A colour gradient: colour stops sorted by position (stops at one position
// keep the order they were added in) and a blending mode. Every change gives a
// new gradient. Colours are RGB with alpha, each 0..1.
//
//   black -> white, linear, at 0.25: grey 0.25
//   red -> blue, chromatic: passes green; inverse chromatic: passes magenta
class CTGradient
{
public:
    enum BlendingMode
    {
        Linear = 0,
        Chromatic = 1,
        InverseChromatic = 2
    };

    struct Color
    {
        double red = 0, green = 0, blue = 0, alpha = 1;
        bool operator==(const Color &) const = default;
    };
    struct ColorStop
    {
        Color color;
        double position = 0;
        bool operator==(const ColorStop &) const = default;
    };

    // A failed change: the stops stay as they were; the text says why.
    struct RangeError
    {
        QString text;
    };

    CTGradient() = default;
    static CTGradient gradientWithBeginningColor(const Color &begin, const Color &end);

    // Presets.
    static CTGradient aquaSelectedGradient();
    static CTGradient aquaNormalGradient();
    static CTGradient aquaPressedGradient();
    static CTGradient unifiedSelectedGradient();
    static CTGradient unifiedNormalGradient();
    static CTGradient unifiedPressedGradient();
    static CTGradient unifiedDarkGradient();
    static CTGradient sourceListSelectedGradient();
    static CTGradient sourceListUnselectedGradient();
    static CTGradient rainbowGradient();
    static CTGradient hydrogenSpectrumGradient();

    CTGradient gradientWithAlphaComponent(double alpha) const;  // linear, as a new gradient is
    CTGradient gradientWithBlendingMode(BlendingMode mode) const;
    CTGradient addColorStop(const Color &color, double position) const;
    std::optional<CTGradient> removeColorStopAtIndex(int index, RangeError *error = nullptr) const;
    std::optional<CTGradient> removeColorStopAtPosition(double position, RangeError *error = nullptr) const;
    std::optional<Color> colorStopAtIndex(int index, RangeError *error = nullptr) const;

    BlendingMode blendingMode() const { return mBlendingMode; }
    const QList<ColorStop> &stops() const { return mStops; }
    // The colour the blending mode gives at a position; opaque white without stops.
    Color colorAtPosition(double position) const;

    // The axis along which fillRect:angle: shades a rectangle (degrees; 0 runs left to right, 90 bottom to top).
    static QLineF fillAxis(const QRectF &rect, double angle);

    // Keyed coding: "CTGradientElementCount", "CTGradientBlendingMode" and the stops' five numbers in list order.
    QVariantMap encode() const;
    static std::optional<CTGradient> decode(const QVariantMap &coded);

    // Colour models; an undefined hue (a grey) is NaN.
    struct Hsv
    {
        double hue = 0, saturation = 0, value = 0, alpha = 1;
    };
    static Hsv transformRGB_HSV(const Color &color);
    static Color transformHSV_RGB(const Hsv &hsv);

private:
    void addElement(const ColorStop &stop);
    Color evaluate(double position) const;

    QList<ColorStop> mStops;
    BlendingMode mBlendingMode = Linear;
};
