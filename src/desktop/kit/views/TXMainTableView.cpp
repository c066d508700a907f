#include "desktop/kit/views/TXMainTableView.h"

#include "desktop/kit/GroundViewGeometry.h"
#include "desktop/kit/views/Palette.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Draws the rows without the style's own selection colour; the table draws its highlight itself.
class UnhighlightedDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain(option);
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        QStyledItemDelegate::paint(painter, plain, index);
    }
};

}  // namespace

TXMainTableView::TXMainTableView(QWidget *parent)
    : QTableView(parent)
{
    setItemDelegate(new UnhighlightedDelegate(this));
    setShowGrid(false);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    setStyleSheet(QStringLiteral("QTableView { background: transparent; selection-background-color: transparent; }"));
    verticalHeader()->setDefaultSectionSize(int(GroundViewGeometry::kRowPitch));
}

void TXMainTableView::setEnabled(bool enabled)
{
    QTableView::setEnabled(enabled);
    viewport()->update();
}

void TXMainTableView::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(viewport());
        painter.setRenderHint(QPainter::Antialiasing);
        const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
        for (const QModelIndex &index : rows) {
            const QRectF row(0, rowViewportPosition(index.row()), viewport()->width(), rowHeight(index.row()));
            const QRectF outline = GroundViewGeometry::selectionRect(row);
            QLinearGradient fill = Palette::gradient(outline, 90);
            fill.setColorAt(0.0, Palette::grey(0.98));
            fill.setColorAt(1.0, Palette::grey(0.98));
            painter.setBrush(fill);
            painter.setPen(QPen(Palette::tableAccent(), 2.0));
            painter.drawRect(outline);
        }
    }
    QTableView::paintEvent(event);
}
