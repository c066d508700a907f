#include "client/backup/views/OutlineHeaderView.h"

#include "desktop/kit/views/ClientArtwork.h"

#include <QPainter>
#include <QStyleOptionHeader>

OutlineHeaderView::OutlineHeaderView(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    // Titles start at the left, as in the tree view's own header.
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void OutlineHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (logicalIndex != 0)
        return QHeaderView::paintSection(painter, rect, logicalIndex);
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.text = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    option.icon = QIcon(ClientArtwork::image(QStringLiteral("computer.png")));
    option.iconAlignment = Qt::AlignVCenter | Qt::AlignLeft;
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
}
