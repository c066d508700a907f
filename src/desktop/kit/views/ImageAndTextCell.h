#pragma once

#include <QStyledItemDelegate>

// A table or outline cell with a 16 x 16 icon (the item's decoration) before
// its text, 3 points from the left edge and 3 points before the text; the
// text is cut at its end when it does not fit.
class ImageAndTextCell : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
