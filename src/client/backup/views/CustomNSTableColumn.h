#pragma once

#include <QStyledItemDelegate>

// A column whose cell can differ by row: rows the placeholder role marks
// (the "Loading..." row of a folder being listed) get a plain text cell,
// every other row the column's own cell.
class CustomNSTableColumn : public QStyledItemDelegate
{
    Q_OBJECT
public:
    CustomNSTableColumn(QAbstractItemDelegate *dataCell, int placeholderRole, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    bool isPlaceholder(const QModelIndex &index) const { return index.data(mPlaceholderRole).toBool(); }

    QAbstractItemDelegate *mDataCell;
    int mPlaceholderRole;
};
