#pragma once

#include <QRectF>

// Geometry of the small custom views and cells, as plain functions.
namespace CustomViewGeometry {

// The red pie (TXProgressIndicator): the wedge's angle in degrees, clockwise
// from the top, for a value between a minimum and a maximum.
double progressWedgeDegrees(double value, double minimum, double maximum);

// The split view (TXSplitView): the range the divider may be dragged in,
// given the range the splitter proposes and the view's extent along the split
// (its width for side-by-side panes, its height for stacked ones).
struct DividerRange
{
    double minimum;
    double maximum;
};
DividerRange splitDividerRange(double proposedMinimum, double proposedMaximum, double extent, bool sideBySide);

// A view placed in the title strip (the title-bar category): its left edge for
// the window's content width, and whether it keeps its distance to the right
// edge when the window is resized (asked for at an x in the right half).
double titleBarViewX(double contentWidth, double viewWidth);
bool titleBarViewFollowsRightEdge(double askedX, double windowWidth);

// The table cell with an icon before its text (ImageAndTextCell).
constexpr double kCellImageSize = 16.0;
constexpr double kCellImageGap = 3.0;
QRectF cellImageRect(const QRectF &bounds);
QRectF cellTitleRect(const QRectF &bounds);

}  // namespace CustomViewGeometry
