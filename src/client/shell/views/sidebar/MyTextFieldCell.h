#pragma once

#include <QStyledItemDelegate>

// A text cell with its text centred vertically, 6 points from the left, in a dark blue-grey.
class MyTextFieldCell : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
