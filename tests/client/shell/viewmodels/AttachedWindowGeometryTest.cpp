#include "client/shell/login/AttachedWindowGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace AttachedWindowGeometry;

namespace {

// The login window's style (Part of the login view): margin 2, border 0.5, radius 4.
Style loginStyle()
{
    Style style;
    style.borderWidth = 0.5;
    style.cornerRadius = 4.0;
    return style;
}

TEST(AttachedWindowGeometry, SideTenHangsBelowThePointShiftedLeftByItsShare)
{
    const QSizeF view(300, 200);
    const Style style = loginStyle();
    const QPointF point(1000, 100);
    for (const auto &[isAccountMenu, share] : {std::pair{false, 0.75}, std::pair{true, 0.7}}) {
        const Frames f = frames(view, style, point, kBelowShiftedLeft, 10.0, isAccountMenu);
        // Window: the view plus the margin on every side plus the arrow above it.
        EXPECT_EQ(f.window.size(), QSizeF(304, 204 + 16));
        EXPECT_DOUBLE_EQ(f.window.x(), 1000 - share * 304) << isAccountMenu;
        EXPECT_DOUBLE_EQ(f.window.y(), 110) << "top edge one distance below the point";
        EXPECT_EQ(f.viewFrame, QRectF(2, 2 + 16, 300, 200)) << "the view sits below the arrow";
    }
}

TEST(AttachedWindowGeometry, SidesPlaceTheWindowAroundThePoint)
{
    const QSizeF view(100, 50);
    Style style;  // margin 2, arrow 16, base 18, radius 8: inset 17
    const QPointF p(500, 400);
    const double d = 5;
    struct Case
    {
        int side;
        QRectF window;
        QPointF viewOrigin;
    };
    const Case cases[] = {
        {kLeft, {500 - 120 - 5, 400 - 27, 120, 54}, {2, 2}},
        {kBelow, {500 - 52, 405, 104, 70}, {2, 18}},
        {kRight, {505, 400 - 27, 120, 54}, {18, 2}},
        {kAbove, {500 - 52, 400 - 5 - 70, 104, 70}, {2, 2}},
        {kLeftExtendingUp, {500 - 125, 400 + 17 - 54, 120, 54}, {2, 2}},
        {kLeftExtendingDown, {375, 400 - 17, 120, 54}, {2, 2}},
        {kRightExtendingDown, {505, 383, 120, 54}, {18, 2}},
        {kAboveExtendingRight, {500 - 17, 400 - 5 - 70, 104, 70}, {2, 2}},
        {kBelowExtendingRight, {483, 405, 104, 70}, {2, 18}},
    };
    for (const Case &c : cases) {
        const Frames f = frames(view, style, p, c.side, d, false);
        EXPECT_EQ(f.window, c.window) << "side " << c.side;
        EXPECT_EQ(f.viewFrame.topLeft(), c.viewOrigin) << "side " << c.side;
    }
}

TEST(AttachedWindowGeometry, SideTenArrowTipLiesThirtyPlusHalfABaseLeftOfTheStraightEnd)
{
    const Style style = loginStyle();
    const Frames f = frames({300, 200}, style, {0, 0}, kBelowShiftedLeft, 10.0, false);
    const double straightRightEnd = f.viewFrame.right() + style.viewMargin - style.cornerRadius;
    const QPointF tip = arrowTip(f.viewFrame, style, kBelowShiftedLeft);
    EXPECT_DOUBLE_EQ(tip.x(), straightRightEnd - 30.0 - style.arrowBaseWidth / 2);
    EXPECT_DOUBLE_EQ(tip.y(), 0.0) << "the tip touches the window's top edge";

    Style noArrow = style;
    noArrow.hasArrow = false;
    EXPECT_TRUE(arrowTip(f.viewFrame, noArrow, kBelowShiftedLeft).isNull());
}

TEST(AttachedWindowGeometry, OnlyTheCornerBesideTheArrowStaysSquare)
{
    Style style;
    style.drawsRoundCornerBesideArrow = false;
    struct Case
    {
        int side;
        Corner square;
    };
    const Case cases[] = {{kBelowExtendingRight, kTopLeft}, {kRightExtendingDown, kTopLeft},
                          {kBelowShiftedLeft, kTopRight},   {kLeftExtendingDown, kTopRight},
                          {kLeftExtendingUp, kBottomRight}, {kAboveExtendingLeft, kBottomRight},
                          {kRightExtendingUp, kBottomLeft}, {kAboveExtendingRight, kBottomLeft}};
    for (const Case &c : cases) {
        for (Corner corner : {kTopLeft, kTopRight, kBottomRight, kBottomLeft})
            EXPECT_EQ(isCornerRounded(style, c.side, corner), corner != c.square) << c.side << " " << corner;
    }
    // Centred arrows sit beside no corner; rounding beside the arrow rounds all four.
    for (Corner corner : {kTopLeft, kTopRight, kBottomRight, kBottomLeft}) {
        EXPECT_TRUE(isCornerRounded(style, kBelow, corner));
        EXPECT_TRUE(isCornerRounded(Style{}, kBelowExtendingRight, corner));
    }
    style.cornerRadius = 0;
    EXPECT_FALSE(isCornerRounded(style, kBelow, kTopLeft));
}

TEST(AttachedWindowGeometry, OutlineIsClosedAndCarriesOneArrow)
{
    const Style style;
    const QRectF view(2, 18, 100, 50);
    const QList<PathStep> steps = outline(view, style, kBelow);
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.first().kind, PathStep::kMove);
    EXPECT_EQ(steps.last().to, steps.first().to) << "ends where it began";
    const QPointF tip = arrowTip(view, style, kBelow);
    EXPECT_DOUBLE_EQ(tip.x(), view.center().x()) << "a centred arrow";
    EXPECT_DOUBLE_EQ(tip.y(), 0.0);
    EXPECT_EQ(4, std::count_if(steps.begin(), steps.end(), [](const PathStep &s) { return s.kind == PathStep::kArc; }));
}

TEST(AttachedWindowGeometry, SettersClampTheirValues)
{
    Style style;  // margin 2, base 18, radius 8
    const QSizeF view(40, 30);
    EXPECT_DOUBLE_EQ(clampedBorderWidth(5.0, style), 2.0) << "never wider than the margin";
    EXPECT_DOUBLE_EQ(clampedBorderWidth(1.0, style), 1.0);
    EXPECT_DOUBLE_EQ(clampedViewMargin(-3.0), 0.0);
    // (2 x 2 + 30 - 18) / 2 = 8
    EXPECT_DOUBLE_EQ(clampedCornerRadius(20.0, style, view), 8.0);
    EXPECT_DOUBLE_EQ(clampedCornerRadius(5.0, style, view), 5.0);
    EXPECT_DOUBLE_EQ(clampedCornerRadius(-1.0, style, view), 0.0);
    // 2 x 2 + 30 - 8, less 8 again beside a round corner
    EXPECT_DOUBLE_EQ(clampedArrowBaseWidth(50.0, style, view), 18.0);
    style.drawsRoundCornerBesideArrow = false;
    EXPECT_DOUBLE_EQ(clampedArrowBaseWidth(50.0, style, view), 26.0);
}

}  // namespace
