#include "uninstaller/views/QLUWhiteBackgroundView.h"

#include <QPainter>

void QLUWhiteBackgroundView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
