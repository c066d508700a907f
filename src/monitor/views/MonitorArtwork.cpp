#include "monitor/views/MonitorArtwork.h"

#include "desktop/kit/views/ClientArtwork.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kTraySize = 22;
constexpr qreal kPixelRatio = 2.0;

enum class Badge
{
    None,
    Warning,
    Pause
};

// A cloud with an upward arrow, the product's tray mark; light when the menu is open.
QPixmap trayImage(bool selected, Badge badge)
{
    QPixmap pixmap(QSize(kTraySize, kTraySize) * kPixelRatio);
    pixmap.setDevicePixelRatio(kPixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = selected ? QColor(Qt::white) : ClientArtwork::brandColour();
    QPainterPath cloud;
    cloud.addEllipse(QRectF(2, 8, 9, 9));
    cloud.addEllipse(QRectF(6, 4, 11, 11));
    cloud.addEllipse(QRectF(12, 8, 8, 8));
    cloud.addRect(QRectF(6.5, 12, 9.5, 5));
    p.fillPath(cloud.simplified(), ink);
    p.setPen(QPen(selected ? ClientArtwork::brandColour() : QColor(Qt::white), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 15.5), QPointF(11, 8.5));
    p.drawLine(QPointF(8.5, 11), QPointF(11, 8.5));
    p.drawLine(QPointF(13.5, 11), QPointF(11, 8.5));
    if (badge == Badge::None)
        return pixmap;
    const QRectF dot(12, 12, 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(badge == Badge::Warning ? QColor(0xd9, 0x3a, 0x2b) : QColor(0xe8, 0xa3, 0x1c));
    p.drawEllipse(dot);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    if (badge == Badge::Warning) {
        p.drawLine(QPointF(17, 14.5), QPointF(17, 17.5));
        p.drawPoint(QPointF(17, 19.6));
    } else {
        p.drawLine(QPointF(15.5, 14.5), QPointF(15.5, 19.5));
        p.drawLine(QPointF(18.5, 14.5), QPointF(18.5, 19.5));
    }
    return pixmap;
}

// The balloon of the tray help: a rounded note with an arrow up to the tray item.
QPixmap trayHelp()
{
    const QSize size(307, 99);
    QPixmap pixmap(size * kPixelRatio);
    pixmap.setDevicePixelRatio(kPixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath balloon;
    balloon.addRoundedRect(QRectF(1, 14, size.width() - 2, size.height() - 15), 10, 10);
    QPainterPath arrow;
    const qreal middle = size.width() / 2.0;
    arrow.moveTo(middle - 12, 15);
    arrow.lineTo(middle, 1);
    arrow.lineTo(middle + 12, 15);
    arrow.closeSubpath();
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(0xff, 0xfb, 0xe6));
    fill.setColorAt(1, QColor(0xf6, 0xe9, 0xb8));
    p.setPen(QPen(QColor(0xb8, 0xa4, 0x62), 1));
    p.setBrush(fill);
    p.drawPath(balloon.united(arrow));
    return pixmap;
}

}  // namespace

namespace MonitorArtwork {

QPixmap image(const QString &name)
{
    if (name == QLatin1String("Portable_tray1") || name == QLatin1String("trayicon"))
        return trayImage(false, Badge::None);
    if (name == QLatin1String("Portable_tray2") || name == QLatin1String("trayicon_slctd"))
        return trayImage(true, Badge::None);
    if (name == QLatin1String("TarnixUpgradeMenuIcon"))
        return trayImage(false, Badge::Warning);
    if (name == QLatin1String("TarnixPauseMenuIcon"))
        return trayImage(false, Badge::Pause);
    if (name == QLatin1String("TarnixTrayHelp"))
        return trayHelp();
    return ClientArtwork::image(name);
}

}  // namespace MonitorArtwork
