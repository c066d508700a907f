#include "client/backup/views/CustomNSTableColumn.h"

#include <QPainter>

namespace {
const QString kLoading = QStringLiteral("Loading...");
}  // namespace

CustomNSTableColumn::CustomNSTableColumn(QAbstractItemDelegate *dataCell, int placeholderRole, QObject *parent)
    : QStyledItemDelegate(parent)
    , mDataCell(dataCell)
    , mPlaceholderRole(placeholderRole)
{
    dataCell->setParent(this);
}

void CustomNSTableColumn::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!isPlaceholder(index))
        return mDataCell->paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::PlaceholderText));
    painter->drawText(option.rect.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, kLoading);
    painter->restore();
}

QSize CustomNSTableColumn::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return isPlaceholder(index) ? QStyledItemDelegate::sizeHint(option, index) : mDataCell->sizeHint(option, index);
}

bool CustomNSTableColumn::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                      const QModelIndex &index)
{
    return !isPlaceholder(index) && mDataCell->editorEvent(event, model, option, index);
}
