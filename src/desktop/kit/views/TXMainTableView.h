#pragma once

#include <QTableView>

// The sidebar table: no grid, no header, and its own selection highlight,
// an accent outline filled with a soft grey gradient.
class TXMainTableView : public QTableView
{
    Q_OBJECT
public:
    explicit TXMainTableView(QWidget *parent = nullptr);

    void setEnabled(bool enabled);

protected:
    void paintEvent(QPaintEvent *event) override;
};
