#include "desktop/kit/views/DraggableTableView.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

void DraggableTableView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        QList<int> rows;
        if (selectionModel()) {
            for (const QModelIndex &index : selectionModel()->selectedRows())
                rows.append(index.row());
        }
        std::sort(rows.begin(), rows.end());
        emit deleteIndexes(rows);
    }
}

void DraggableTableView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        const QModelIndex clicked = indexAt(event->position().toPoint());
        if (clicked.isValid() && selectionModel() &&
            !selectionModel()->isRowSelected(clicked.row(), clicked.parent())) {
            selectRow(clicked.row());
            viewport()->update();
        }
    }
    QTableView::mousePressEvent(event);
}
