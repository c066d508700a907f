#include "client/shell/login/AttachedWindowGeometry.h"

#include <algorithm>

namespace AttachedWindowGeometry {

namespace {

bool arrowOnLeftEdge(int side) { return side == kRight || side == kRightExtendingUp || side == kRightExtendingDown; }
bool arrowOnRightEdge(int side) { return side == kLeft || side == kLeftExtendingUp || side == kLeftExtendingDown; }
bool arrowOnBottomEdge(int side)
{
    return side == kAbove || side == kAboveExtendingLeft || side == kAboveExtendingRight;
}
bool arrowOnTopEdge(int side) { return side == kBelow || side == kBelowShiftedLeft || side == kBelowExtendingRight; }

// The window's origin relative to the point, as the window's left edge and
// its edge nearest the point would lie with y growing upwards; frames() turns
// it into a top-left corner.
QPointF offsetWithYUp(int side, const QSizeF &size, double inset, double distance, bool isAccountMenu)
{
    const double w = size.width();
    const double h = size.height();
    const double d = distance;
    switch (side) {
    case kLeft:
        return {-w - d, -h / 2};
    case kBelow:
        return {-w / 2, -h - d};
    case kRight:
        return {d, -h / 2};
    case kAbove:
        return {-w / 2, d};
    case kLeftExtendingUp:
        return {-w - d, -inset};
    case kLeftExtendingDown:
        return {-w - d, -(h - inset)};
    case kRightExtendingUp:
        return {d, -inset};
    case kRightExtendingDown:
        return {d, -(h - inset)};
    case kAboveExtendingLeft:
        return {-(w - inset), d};
    case kAboveExtendingRight:
        return {-inset, d};
    case kBelowShiftedLeft:
        return {-(isAccountMenu ? kShiftForAccountMenu : kShiftForLoginWindow) * w, -h - d};
    case kBelowExtendingRight:
        return {-inset, -h - d};
    default:
        return {-w / 2, -h - d};
    }
}

double radiusAt(const Style &style, int side, Corner corner)
{
    return isCornerRounded(style, side, corner) ? style.cornerRadius : 0.0;
}

}  // namespace

double arrowInset(const Style &style)
{
    return style.arrowBaseWidth * 0.5 + (style.drawsRoundCornerBesideArrow ? style.cornerRadius : 0.0);
}

Frames frames(const QSizeF &viewSize, const Style &style, const QPointF &point, int side, double distance,
              bool isAccountMenu)
{
    const double m = style.viewMargin;
    const double a = style.arrowHeight;
    QRectF view(m, m, viewSize.width(), viewSize.height());
    QSizeF size(viewSize.width() + 2 * m, viewSize.height() + 2 * m);
    if (arrowOnLeftEdge(side) || arrowOnRightEdge(side))
        size.rwidth() += a;
    if (arrowOnLeftEdge(side))
        view.translate(a, 0);
    if (arrowOnTopEdge(side) || arrowOnBottomEdge(side))
        size.rheight() += a;
    if (arrowOnTopEdge(side))
        view.translate(0, a);

    const QPointF offset = offsetWithYUp(side, size, arrowInset(style), distance, isAccountMenu);
    const QPointF topLeft(point.x() + offset.x(), point.y() - offset.y() - size.height());
    return {QRectF(topLeft, size), view};
}

bool isCornerRounded(const Style &style, int side, Corner corner)
{
    if (style.cornerRadius <= 0)
        return false;
    if (style.drawsRoundCornerBesideArrow)
        return true;
    switch (corner) {
    case kTopLeft:
        return side != kRightExtendingDown && side != kBelowExtendingRight;
    case kTopRight:
        return side != kLeftExtendingDown && side != kBelowShiftedLeft;
    case kBottomRight:
        return side != kLeftExtendingUp && side != kAboveExtendingLeft;
    case kBottomLeft:
        return side != kRightExtendingUp && side != kAboveExtendingRight;
    }
    return true;
}

QList<PathStep> outline(const QRectF &viewFrame, const Style &style, int side)
{
    const double m = style.viewMargin;
    const QRectF box = viewFrame.adjusted(-m, -m, m, m);
    const double b = style.arrowBaseWidth;
    const double a = style.arrowHeight;
    const double tl = radiusAt(style, side, kTopLeft);
    const double tr = radiusAt(style, side, kTopRight);
    const double br = radiusAt(style, side, kBottomRight);
    const double bl = radiusAt(style, side, kBottomLeft);
    const double left = box.left(), right = box.right(), top = box.top(), bottom = box.bottom();

    QList<PathStep> steps;
    auto line = [&](double x, double y) { steps.append({PathStep::kLine, {x, y}, {}}); };
    auto arc = [&](double radius, QPointF centre, double x, double y) {
        if (radius > 0)
            steps.append({PathStep::kArc, {x, y}, centre});
    };
    // The arrow leaves the edge at (x, y) and comes back one base width further along it.
    auto arrow = [&](double x, double y, QPointF along, QPointF outward) {
        if (!style.hasArrow)
            return;
        line(x, y);
        line(x + along.x() * b / 2 + outward.x() * a, y + along.y() * b / 2 + outward.y() * a);
        line(x + along.x() * b, y + along.y() * b);
    };

    steps.append({PathStep::kMove, {left, top + tl}, {}});
    arc(tl, {left + tl, top + tl}, left + tl, top);
    if (side == kBelow)
        arrow(box.center().x() - b / 2, top, {1, 0}, {0, -1});
    else if (side == kBelowShiftedLeft)
        arrow(right - tr - b - kArrowOffsetFromRightEnd, top, {1, 0}, {0, -1});
    else if (side == kBelowExtendingRight)
        arrow(left + tl, top, {1, 0}, {0, -1});
    line(right - tr, top);
    arc(tr, {right - tr, top + tr}, right, top + tr);

    if (side == kLeft)
        arrow(right, box.center().y() - b / 2, {0, 1}, {1, 0});
    else if (side == kLeftExtendingUp)
        arrow(right, bottom - br - b, {0, 1}, {1, 0});
    else if (side == kLeftExtendingDown)
        arrow(right, top + tr, {0, 1}, {1, 0});
    line(right, bottom - br);
    arc(br, {right - br, bottom - br}, right - br, bottom);

    if (side == kAbove)
        arrow(box.center().x() + b / 2, bottom, {-1, 0}, {0, 1});
    else if (side == kAboveExtendingRight)
        arrow(left + bl + b, bottom, {-1, 0}, {0, 1});
    else if (side == kAboveExtendingLeft)
        arrow(right - br, bottom, {-1, 0}, {0, 1});
    line(left + bl, bottom);
    arc(bl, {left + bl, bottom - bl}, left, bottom - bl);

    if (side == kRight)
        arrow(left, box.center().y() + b / 2, {0, -1}, {-1, 0});
    else if (side == kRightExtendingDown)
        arrow(left, top + tl + b, {0, -1}, {-1, 0});
    else if (side == kRightExtendingUp)
        arrow(left, bottom - bl, {0, -1}, {-1, 0});
    line(left, top + tl);
    return steps;
}

QPointF arrowTip(const QRectF &viewFrame, const Style &style, int side)
{
    if (!style.hasArrow)
        return {};
    const QList<PathStep> steps = outline(viewFrame, style, side);
    const QRectF box = viewFrame.adjusted(-style.viewMargin, -style.viewMargin, style.viewMargin, style.viewMargin);
    for (const PathStep &step : steps) {
        if (!box.adjusted(-0.001, -0.001, 0.001, 0.001).contains(step.to))
            return step.to;
    }
    return {};
}

double clampedBorderWidth(double value, const Style &style) { return std::min(value, style.viewMargin); }

double clampedViewMargin(double value) { return std::max(0.0, value); }

double clampedCornerRadius(double value, const Style &style, const QSizeF &viewSize)
{
    const double smallerSide = std::min(viewSize.width(), viewSize.height());
    const double limit = (2 * style.viewMargin + smallerSide - style.arrowBaseWidth) * 0.5;
    return std::clamp(value, 0.0, std::max(0.0, limit));
}

double clampedArrowBaseWidth(double value, const Style &style, const QSizeF &viewSize)
{
    const double smallerSide = std::min(viewSize.width(), viewSize.height());
    double limit = 2 * style.viewMargin + smallerSide - style.cornerRadius;
    if (style.drawsRoundCornerBesideArrow)
        limit -= style.cornerRadius;
    return std::clamp(value, 0.0, std::max(0.0, limit));
}

}  // namespace AttachedWindowGeometry
