#include "desktop/kit/CustomViewGeometry.h"
#include "desktop/kit/GroundViewGeometry.h"
#include "desktop/kit/LevelIndicatorValue.h"

#include <gtest/gtest.h>

TEST(GroundViewGeometry, MarkerMovesOneRowPitchPerRowAndStopsAtTheFourthPlace)
{
    const std::pair<int, double> offsets[] = {{0, 101}, {1, 153}, {2, 205}, {3, 257}, {7, 257}, {-1, 101}};
    for (const auto &[row, offset] : offsets)
        EXPECT_DOUBLE_EQ(GroundViewGeometry::markerOffset(row), offset) << row;
    EXPECT_DOUBLE_EQ(GroundViewGeometry::markerRect(2).top() - GroundViewGeometry::markerRect(1).top(), 52.0);
    EXPECT_EQ(GroundViewGeometry::markerRect(0).size(), QSizeF(5, 48));
}

TEST(GroundViewGeometry, ResizeStaysWithinTheWindowLimits)
{
    const QSizeF start(800, 600), minimum(700, 500), maximum(1200, 900);
    struct Case
    {
        QPointF delta;
        QSizeF size;
    };
    const Case cases[] = {
        {{50, 40}, {850, 640}},
        {{-400, -300}, {700, 500}},  // dragged below the minimum: stops there
        {{900, 900}, {1200, 900}},
        {{0, 0}, {800, 600}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GroundViewGeometry::resizedSize(start, c.delta, minimum, maximum), c.size);
    EXPECT_EQ(GroundViewGeometry::gripRect({800, 600}), QRectF(800 - 21.5, 600 - 21.5, 16, 16));
}

TEST(LevelIndicatorValue, ClampsHighValuesIgnoresNegativeOnesAndWarnsFrom99)
{
    LevelIndicatorValue value;
    value.setPercentage(42);
    EXPECT_EQ(value.text(), "42 %");
    value.setPercentage(150);
    EXPECT_EQ(value.storedPercentage(), 100);
    EXPECT_EQ(value.text(), "100 %");
    EXPECT_TRUE(value.isWarning());
    EXPECT_DOUBLE_EQ(value.barWidth(200), 200);
    value.setPercentage(-5);
    EXPECT_EQ(value.storedPercentage(), 100) << "a negative value changes nothing";
    value.setPercentage(0);
    EXPECT_EQ(value.text(), "0 %");
    EXPECT_EQ(value.percentage(), 1) << "an empty bar is still drawn 1 % wide";
    EXPECT_DOUBLE_EQ(value.barWidth(200), 2);
    value.setPercentage(98);
    EXPECT_FALSE(value.isWarning());
    value.setPercentage(99);
    EXPECT_TRUE(value.isWarning());
}

TEST(CustomViewGeometry, ProgressWedgeAndSplitLimitsAndTitleBarPlacement)
{
    EXPECT_DOUBLE_EQ(CustomViewGeometry::progressWedgeDegrees(50, 0, 100), 180);
    EXPECT_DOUBLE_EQ(CustomViewGeometry::progressWedgeDegrees(100, 0, 100), 360);
    EXPECT_DOUBLE_EQ(CustomViewGeometry::progressWedgeDegrees(0, 0, 100), 0);
    EXPECT_DOUBLE_EQ(CustomViewGeometry::progressWedgeDegrees(5, 5, 5), 0) << "an empty range draws no wedge";

    const auto sideBySide = CustomViewGeometry::splitDividerRange(0, 1000, 1000, true);
    EXPECT_DOUBLE_EQ(sideBySide.minimum, 500);
    EXPECT_DOUBLE_EQ(sideBySide.maximum, 550);
    const auto stacked = CustomViewGeometry::splitDividerRange(0, 600, 600, false);
    EXPECT_DOUBLE_EQ(stacked.minimum, 160);
    EXPECT_DOUBLE_EQ(stacked.maximum, 480);

    EXPECT_DOUBLE_EQ(CustomViewGeometry::titleBarViewX(900, 180), 700) << "x asked for does not move the view";
    EXPECT_TRUE(CustomViewGeometry::titleBarViewFollowsRightEdge(300, 500));
    EXPECT_FALSE(CustomViewGeometry::titleBarViewFollowsRightEdge(200, 500));

    EXPECT_EQ(CustomViewGeometry::cellImageRect({10, 20, 200, 21}), QRectF(13, 23, 16, 16));
}
