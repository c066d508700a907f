#include "monitor/views/drawing/customBox.h"

#include <QPainter>

void customBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::gray);
}
