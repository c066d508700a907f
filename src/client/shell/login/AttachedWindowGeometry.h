#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// The geometry of the arrow window (MAAttachedWindow) as plain values, in
// screen coordinates with y growing downwards: where the window lies for a
// side code, where its view sits inside it, the corners that are rounded, the
// outline with its arrow, and the clamps of its setters.
namespace AttachedWindowGeometry {

// Where the window lies relative to the point it is attached to.
enum Side
{
    kLeft = 0,
    kBelow = 1,
    kRight = 2,
    kAbove = 3,
    kLeftExtendingUp = 4,
    kLeftExtendingDown = 5,
    kRightExtendingUp = 6,
    kRightExtendingDown = 7,
    kAboveExtendingLeft = 8,
    kAboveExtendingRight = 9,
    kBelowShiftedLeft = 10,  // the login window and the account menu
    kBelowExtendingRight = 11,
};

// The window's share of its width that lies left of the point on side 10.
constexpr double kShiftForLoginWindow = 0.75;
constexpr double kShiftForAccountMenu = 0.7;
// On side 10 the arrow sits this far plus its base width left of the top edge's straight end.
constexpr double kArrowOffsetFromRightEnd = 30.0;

struct Style
{
    double viewMargin = 2.0;
    double borderWidth = 2.0;
    double arrowBaseWidth = 18.0;
    double arrowHeight = 16.0;
    bool hasArrow = true;
    double cornerRadius = 8.0;
    bool drawsRoundCornerBesideArrow = true;
};

struct Frames
{
    QRectF window;     // in screen coordinates
    QRectF viewFrame;  // the view inside the window
};

// The window and view frames for a view of the given size attached to a point
// (screen coordinates) on a side, at a distance. The arrow's length is added
// whether or not the arrow is drawn.
Frames frames(const QSizeF &viewSize, const Style &style, const QPointF &point, int side, double distance,
              bool isAccountMenu);

// The inset of the arrow from the corner it sits beside.
double arrowInset(const Style &style);

enum Corner
{
    kTopLeft,
    kTopRight,
    kBottomRight,
    kBottomLeft
};
// Whether a corner is drawn round: with a radius above 0, unless it is the
// corner beside the arrow and that corner is to stay square.
bool isCornerRounded(const Style &style, int side, Corner corner);

// One segment of the outline: a straight line to a point, or a quarter arc
// of the corner radius that ends at a point.
struct PathStep
{
    enum Kind
    {
        kMove,
        kLine,
        kArc
    } kind;
    QPointF to;
    QPointF arcCentre;  // for kArc
};
// The closed outline of the panel around viewFrame grown by the margin,
// clockwise from the top-left, with the arrow on the side's edge.
QList<PathStep> outline(const QRectF &viewFrame, const Style &style, int side);

// The tip of the arrow in window coordinates (null point when there is no arrow).
QPointF arrowTip(const QRectF &viewFrame, const Style &style, int side);

// The setters' clamps; each takes the value asked for and returns the value stored.
double clampedBorderWidth(double value, const Style &style);
double clampedViewMargin(double value);
double clampedCornerRadius(double value, const Style &style, const QSizeF &viewSize);
double clampedArrowBaseWidth(double value, const Style &style, const QSizeF &viewSize);

}  // namespace AttachedWindowGeometry
