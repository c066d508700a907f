#pragma once

#include <QList>
#include <QTableView>

// A table that asks to delete its selected rows on the Delete and Backspace
// keys (even when none is selected), selects every row on Select All while
// leaving the key to others, and moves the selection to a row right-clicked
// outside it before its context menu opens.
class DraggableTableView : public QTableView
{
    Q_OBJECT
public:
    using QTableView::QTableView;

signals:
    void deleteIndexes(const QList<int> &rows);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};
