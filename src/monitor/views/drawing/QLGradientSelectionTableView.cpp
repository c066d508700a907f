#include "monitor/views/drawing/QLGradientSelectionTableView.h"

#include "monitor/views/drawing/MRGradientFill.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// The highlight behind a selected row's cells, drawn cell by cell.
class GradientSelectionDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain = option;
        if (option.state & QStyle::State_Selected) {
            const bool focused = option.widget && option.widget->hasFocus();
            const QRectF row = QRectF(option.rect).adjusted(0, 0, 0, -2);
            if (row.width() > 0 && row.height() > 0) {
                const QColor top = focused ? QColor(0x7f, 0xb4, 0xe6) : QColor(0xdc, 0xdc, 0xdc);
                const QColor bottom = focused ? QColor(0x3f, 0x7f, 0xc6) : QColor(0xb4, 0xb4, 0xb4);
                MRGradientFill::linearGradientFill(*painter, row, top, bottom, true);
            }
            plain.state &= ~QStyle::State_Selected;
            plain.palette.setColor(QPalette::Text, focused ? Qt::white : Qt::black);
        }
        QStyledItemDelegate::paint(painter, plain, index);
    }
};

}  // namespace

QLGradientSelectionTableView::QLGradientSelectionTableView(int rows, int columns, QWidget *parent)
    : QTableWidget(rows, columns, parent)
{
    setItemDelegate(new GradientSelectionDelegate(this));
    setShowGrid(false);
}
