#include "desktop/kit/GroundViewGeometry.h"

#include <algorithm>

namespace GroundViewGeometry {

namespace {
constexpr double kFirstMarkerOffset = 101.0;
constexpr int kLastMarkedRow = 3;
constexpr double kMarkerWidth = 5.0;
constexpr double kMarkerHeight = 48.0;
}  // namespace

double markerOffset(int row) { return kFirstMarkerOffset + kRowPitch * std::clamp(row, 0, kLastMarkedRow); }

QRectF markerRect(int row)
{
    // Drawn from the bottom at height - offset + 1, so its top lies offset - 49 below the top.
    return {0.0, markerOffset(row) - kMarkerHeight - 1.0, kMarkerWidth, kMarkerHeight};
}

QRectF headerRect(const QSizeF &bounds) { return {2.0, 0.0, bounds.width() - 4.0, kHeaderHeight}; }

double headerSeparatorY() { return kHeaderHeight - 2.0; }

QRectF gripRect(const QSizeF &contentSize)
{
    return {contentSize.width() - kGripMargin - kGripSize, contentSize.height() - kGripMargin - kGripSize, kGripSize,
            kGripSize};
}

QSizeF resizedSize(const QSizeF &startSize, const QPointF &delta, const QSizeF &minimum, const QSizeF &maximum)
{
    return {std::clamp(startSize.width() + delta.x(), minimum.width(), maximum.width()),
            std::clamp(startSize.height() + delta.y(), minimum.height(), maximum.height())};
}

QRectF selectionRect(const QRectF &rowRect) { return rowRect.adjusted(1.0, 1.5, -1.0, -1.5 + 2.0); }

}  // namespace GroundViewGeometry
