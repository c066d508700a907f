#include "client/shell/views/account/KButtonCell.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>

void KButtonCell::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown()) {
        QPainterPath bezel;
        bezel.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 5.5, 4.5);
        painter.setClipPath(bezel);
        painter.fillPath(bezel, Qt::white);
        painter.setPen(QPen(Qt::gray, 1.5));
        painter.drawPath(bezel);
        painter.setClipping(false);
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonLabel, option);
}
