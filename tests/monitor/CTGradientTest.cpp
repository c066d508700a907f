// The gradient object of the drawing kit.

#include "monitor/drawing/CTGradient.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Color = CTGradient::Color;

const Color kRed{1, 0, 0, 1};
const Color kBlue{0, 0, 1, 1};

void expectColor(const Color &actual, const Color &expected, const char *what)
{
    EXPECT_NEAR(actual.red, expected.red, 1e-6) << what;
    EXPECT_NEAR(actual.green, expected.green, 1e-6) << what;
    EXPECT_NEAR(actual.blue, expected.blue, 1e-6) << what;
    EXPECT_NEAR(actual.alpha, expected.alpha, 1e-6) << what;
}

TEST(CTGradientTest, Evaluations)
{
    expectColor(CTGradient::gradientWithBeginningColor({0, 0, 0, 1}, {1, 1, 1, 1}).colorAtPosition(0.25),
                {0.25, 0.25, 0.25, 1}, "linear");
    expectColor(CTGradient().colorAtPosition(0.5), {1, 1, 1, 1}, "no stops: opaque white");

    const CTGradient redBlue = CTGradient::gradientWithBeginningColor(kRed, kBlue);
    expectColor(redBlue.gradientWithBlendingMode(CTGradient::Chromatic).colorAtPosition(0.5), {0, 1, 0, 1},
                "chromatic passes green (hue 120)");
    expectColor(redBlue.gradientWithBlendingMode(CTGradient::InverseChromatic).colorAtPosition(0.5), {1, 0, 1, 1},
                "inverse passes magenta (hue 300)");

    // A grey stop takes its neighbour's hue: grey to red keeps the hue of red.
    const CTGradient greyRed = CTGradient::gradientWithBeginningColor({0.5, 0.5, 0.5, 1}, kRed)
                                   .gradientWithBlendingMode(CTGradient::Chromatic);
    const CTGradient::Hsv middle = CTGradient::transformRGB_HSV(greyRed.colorAtPosition(0.5));
    EXPECT_NEAR(middle.hue, 0, 1e-6);
    EXPECT_NEAR(middle.saturation, 0.5, 1e-6);
}

TEST(CTGradientTest, HueTurnsAtThreeHundredSixty)
{
    expectColor(CTGradient::transformHSV_RGB({360, 1, 1, 1}), kRed, "360 is red again");
    expectColor(CTGradient::transformHSV_RGB({0, 1, 1, 1}), kRed, "0");
    EXPECT_TRUE(std::isnan(CTGradient::transformRGB_HSV({0.3, 0.3, 0.3, 1}).hue));
    EXPECT_NEAR(CTGradient::transformRGB_HSV({1, 0, 0.5, 1}).hue, 330, 1e-6);
}

TEST(CTGradientTest, StopsKeepTheirOrderAndRangeErrorsSayWhich)
{
    const CTGradient three =
        CTGradient().addColorStop(kRed, 0.5).addColorStop(kBlue, 0.5).addColorStop({0, 1, 0, 1}, 0.2);
    ASSERT_EQ(three.stops().size(), 3);
    EXPECT_EQ(three.stops()[1].color, kRed) << "equal positions keep the order they were added in";
    EXPECT_EQ(three.stops()[2].color, kBlue);

    CTGradient::RangeError error;
    EXPECT_FALSE(three.removeColorStopAtPosition(0.7, &error));
    EXPECT_TRUE(error.text.contains("removeColorStopAtPosition")) << error.text.toStdString();
    EXPECT_EQ(three.stops().size(), 3) << "nothing changes";
    const auto removed = three.removeColorStopAtPosition(0.5);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->stops().size(), 2);
    EXPECT_EQ(removed->stops()[1].color, kBlue) << "the first stop at that position goes";

    EXPECT_FALSE(three.colorStopAtIndex(3, &error));
    EXPECT_TRUE(error.text.contains("colorStopAtIndex")) << error.text.toStdString();
    EXPECT_FALSE(three.removeColorStopAtIndex(-1, &error));
    EXPECT_TRUE(error.text.contains("removeColorStopAtIndex"));
}

TEST(CTGradientTest, CodingRoundTrip)
{
    const CTGradient original =
        CTGradient::aquaSelectedGradient().gradientWithBlendingMode(CTGradient::InverseChromatic);
    const auto decoded = CTGradient::decode(original.encode());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->stops(), original.stops());
    EXPECT_EQ(decoded->blendingMode(), CTGradient::InverseChromatic);
    QVariantMap damaged = original.encode();
    damaged.insert("CTGradientElementCount", 7);
    EXPECT_FALSE(CTGradient::decode(damaged));
    EXPECT_EQ(CTGradient::hydrogenSpectrumGradient().stops().size(), 12);
}

TEST(CTGradientTest, FillAxis)
{
    const QRectF rect(0, 0, 100, 50);
    EXPECT_EQ(CTGradient::fillAxis(rect, 0), QLineF(0, 0, 100, 0));
    EXPECT_EQ(CTGradient::fillAxis(rect, 90), QLineF(0, 0, 0, 50));
    // At 45 degrees the axis spans the rectangle's projection: through the centre, (w + h) / sqrt 2 long.
    const QLineF diagonal = CTGradient::fillAxis(rect, 45);
    EXPECT_NEAR(diagonal.length(), 150 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(diagonal.center().x(), 50, 1e-9);
    EXPECT_NEAR(diagonal.center().y(), 25, 1e-9);
}

}  // namespace
