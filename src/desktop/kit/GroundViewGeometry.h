#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the main window's background (TXGroundView), its sidebar table
// (TXMainTableView) and its page container (TXTabView) draw their parts, in
// widget coordinates with y growing downwards.
namespace GroundViewGeometry {

constexpr double kRowPitch = 52.0;      // the sidebar's rows lie this far apart
constexpr double kHeaderHeight = 42.0;  // the title strip at the top of the window
constexpr double kTabHeaderHeight = 35.0;
constexpr double kGripSize = 16.0;
constexpr double kGripMargin = 5.5;

// The distance of the selection marker's lower edge from the bottom of the
// view, as drawn from the bottom: 101 for row 0, 52 more per row, and 257 for
// every row from 3 on.
double markerOffset(int row);
// The marker: 5 wide and 48 high at the left edge, beside the selected row.
QRectF markerRect(int row);
QRectF headerRect(const QSizeF &bounds);
// The separator line lies 2 above the header's bottom edge.
double headerSeparatorY();
// The resize grip in the window's lower-right corner.
QRectF gripRect(const QSizeF &contentSize);
// The window's size after the pointer moved by delta from where a resize began,
// kept within the window's minimum and maximum sizes.
QSizeF resizedSize(const QSizeF &startSize, const QPointF &delta, const QSizeF &minimum, const QSizeF &maximum);
// The outline of a selected sidebar row: inset by 1 across and 1.5 down, then 2 taller.
QRectF selectionRect(const QRectF &rowRect);
// The page container's separator line, inside its header band.
constexpr double kTabSeparatorY = 33.0;

}  // namespace GroundViewGeometry
