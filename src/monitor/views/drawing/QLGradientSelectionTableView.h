#pragma once

#include <QTableWidget>

// A table whose selected rows are drawn with a shaded highlight: blue while
// the table has the focus, grey otherwise, two points lower than the row;
// the cells draw no highlight of their own.
class QLGradientSelectionTableView : public QTableWidget
{
    Q_OBJECT
public:
    QLGradientSelectionTableView(int rows, int columns, QWidget *parent = nullptr);
};
