#include "client/backup/views/ImageAndTextAndCheckBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kGap = 3;
}  // namespace

ImageAndTextAndCheckBox::ImageAndTextAndCheckBox(int excludedRole, ImageForRow imageForRow, QObject *parent)
    : QStyledItemDelegate(parent)
    , mExcludedRole(excludedRole)
    , mImageForRow(std::move(imageForRow))
{}

QColor ImageAndTextAndCheckBox::excludedColour() { return QColor::fromRgbF(1.0, 0.5, 0.09, 1.0); }

void ImageAndTextAndCheckBox::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    if (mImageForRow)
        cell.icon = mImageForRow(index);
    QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    // The row's background and selection, without the style's own check box, icon and text.
    QStyleOptionViewItem background(cell);
    background.text.clear();
    background.icon = QIcon();
    background.features &= ~(QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration);
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const QRect frame = option.rect;
    const int top = frame.y() + (frame.height() - kImageSize) / 2;
    QStyleOptionButton box;
    box.rect = QRect(frame.x() + kCheckBoxInset, top, kImageSize, kImageSize);
    box.state = option.state & QStyle::State_Enabled;
    switch (cell.checkState) {
    case Qt::Checked:
        box.state |= QStyle::State_On;
        break;
    case Qt::PartiallyChecked:
        box.state |= QStyle::State_NoChange;
        break;
    case Qt::Unchecked:
        box.state |= QStyle::State_Off;
        break;
    }
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, option.widget);

    int textLeft = box.rect.right() + 1 + kGap;
    if (!cell.icon.isNull()) {
        cell.icon.paint(painter, QRect(textLeft, top, kImageSize, kImageSize));
        textLeft += kImageSize + kGap;
    }
    const bool excluded = index.data(mExcludedRole).toBool();
    painter->save();
    painter->setPen(option.state & QStyle::State_Selected ? option.palette.color(QPalette::HighlightedText)
                    : excluded                            ? excludedColour()
                                                          : option.palette.color(QPalette::Text));
    const QRect textRect(textLeft, frame.y(), frame.right() - textLeft, frame.height());
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                      option.fontMetrics.elidedText(cell.text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

QSize ImageAndTextAndCheckBox::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize text = QStyledItemDelegate::sizeHint(option, index);
    return {text.width() + kCheckBoxInset + 2 * (kImageSize + kGap), std::max(text.height(), kImageSize + 4)};
}

bool ImageAndTextAndCheckBox::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                          const QModelIndex &index)
{
    if (!(index.flags() & Qt::ItemIsUserCheckable))
        return false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *release = static_cast<QMouseEvent *>(event);
        if (release->button() != Qt::LeftButton || !togglesAt(release->position().toPoint().x(), option.rect.x()))
            return false;
        // The model decides the new state by the tree's rules.
        const auto state = Qt::CheckState(index.data(Qt::CheckStateRole).toInt());
        return model->setData(index, state == Qt::Checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    // Presses and double clicks on the box are the box's; elsewhere they select or expand as usual.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const auto *press = static_cast<QMouseEvent *>(event);
        return togglesAt(press->position().toPoint().x(), option.rect.x());
    }
    return false;
}
