#pragma once

#include <QHeaderView>

// The local tree's header: the computer's image (10 x 10) before the name
// column's title ("  My Local").
class OutlineHeaderView : public QHeaderView
{
    Q_OBJECT
public:
    explicit OutlineHeaderView(QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};
