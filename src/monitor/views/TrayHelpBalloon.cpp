#include "monitor/views/TrayHelpBalloon.h"

#include "common/texts/QLLocalizedString.h"
#include "monitor/views/MonitorArtwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TrayHelpBalloon::TrayHelpBalloon(std::chrono::milliseconds showFor, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kSize);
    mCloseTimer.setSingleShot(true);
    mCloseTimer.setInterval(showFor);
    connect(&mCloseTimer, &QTimer::timeout, this, &QWidget::hide);
}

void TrayHelpBalloon::showBelow(const QRect &anchor)
{
    QRect place = anchor;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    if (!place.isValid())
        place = QRect(available.right() - 40, available.top(), 24, 0);
    QPoint origin(place.center().x() - width() / 2, place.bottom() + 4);
    origin.setX(std::clamp(origin.x(), available.left(), available.right() - width()));
    origin.setY(std::clamp(origin.y(), available.top(), available.bottom() - height()));
    move(origin);
    show();
    mCloseTimer.start();
}

void TrayHelpBalloon::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(rect(), MonitorArtwork::image(QStringLiteral("TarnixTrayHelp")));
    painter.setPen(QColor(0x3a, 0x33, 0x1c));
    const QRect words = rect().adjusted(16, 22, -16, -10);
    painter.drawText(
        words, Qt::AlignCenter | Qt::TextWordWrap,
        QLLocalizedString(QStringLiteral("%@ runs here. Click this icon for the status of your backups and "
                                         "to start a backup now."))
            .replace(QStringLiteral("%@"), QLLocalizedString(QStringLiteral("ApplicationName"))));
}

void TrayHelpBalloon::mousePressEvent(QMouseEvent *) { hide(); }
