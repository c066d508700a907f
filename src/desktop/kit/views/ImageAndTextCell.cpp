#include "desktop/kit/views/ImageAndTextCell.h"

#include "desktop/kit/CustomViewGeometry.h"

#include <QApplication>
#include <QPainter>

void ImageAndTextCell::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QIcon icon = cell.icon;
    cell.features &= ~QStyleOptionViewItem::HasDecoration;
    cell.icon = QIcon();
    cell.textElideMode = Qt::ElideRight;
    if (!icon.isNull()) {
        // The style draws the background and the text; the text starts after the icon's part.
        QStyleOptionViewItem background(cell);
        background.text.clear();
        QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);
        icon.paint(painter, CustomViewGeometry::cellImageRect(option.rect).toRect());
        cell.rect = CustomViewGeometry::cellTitleRect(option.rect).toRect();
        cell.backgroundBrush = Qt::NoBrush;
        cell.state &= ~QStyle::State_Selected;
        cell.palette.setColor(QPalette::Text, option.state & QStyle::State_Selected
                                                  ? option.palette.color(QPalette::HighlightedText)
                                                  : cell.palette.color(QPalette::Text));
    }
    QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &cell, painter, option.widget);
}

QSize ImageAndTextCell::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize text = QStyledItemDelegate::sizeHint(option, index);
    const int imagePart = int(CustomViewGeometry::kCellImageSize + CustomViewGeometry::kCellImageGap);
    return {text.width() + imagePart, std::max(text.height(), int(CustomViewGeometry::kCellImageSize))};
}
