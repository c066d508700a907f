#include "client/shell/views/sidebar/MyTextFieldCell.h"

#include "desktop/kit/views/Palette.h"

#include <QPainter>

void MyTextFieldCell::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    painter->save();
    painter->setFont(cell.font);
    painter->setPen(option.state & QStyle::State_Enabled ? Palette::rgb(0.2, 0.3, 0.35) : Palette::grey(0.6));
    painter->drawText(QRectF(option.rect).adjusted(6.0, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      cell.fontMetrics.elidedText(cell.text, Qt::ElideRight, option.rect.width() - 6));
    painter->restore();
}
