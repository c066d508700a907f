#include "desktop/kit/CustomViewGeometry.h"

#include <cmath>

namespace CustomViewGeometry {

namespace {
constexpr double kFullCircle = 360.0;
constexpr double kTitleBarRightDistance = 20.0;
}  // namespace

double progressWedgeDegrees(double value, double minimum, double maximum)
{
    if (maximum <= minimum)
        return 0.0;
    return (value - minimum) / (maximum - minimum) * kFullCircle;
}

DividerRange splitDividerRange(double proposedMinimum, double proposedMaximum, double extent, bool sideBySide)
{
    const double minimumShare = sideBySide ? 40.0 : 10.0;
    const double maximumShare = sideBySide ? 45.0 : 20.0;
    return {proposedMinimum + 100.0 + extent * minimumShare / 100.0, proposedMaximum - extent * maximumShare / 100.0};
}

double titleBarViewX(double contentWidth, double viewWidth)
{
    return contentWidth - (viewWidth + kTitleBarRightDistance);
}

bool titleBarViewFollowsRightEdge(double askedX, double windowWidth) { return askedX > windowWidth / 2; }

QRectF cellImageRect(const QRectF &bounds)
{
    return {bounds.x() + kCellImageGap, bounds.y() + std::ceil((bounds.height() - kCellImageSize) * 0.5),
            kCellImageSize, kCellImageSize};
}

QRectF cellTitleRect(const QRectF &bounds)
{
    const double imagePart = kCellImageSize + kCellImageGap;
    return bounds.adjusted(imagePart + kCellImageGap, 0, 0, 0);
}

}  // namespace CustomViewGeometry
