#include "client/shell/views/TXTabView.h"

#include "client/shell/viewmodels/GroundViewGeometry.h"
#include "client/shell/views/Palette.h"

#include <QPaintEvent>
#include <QPainter>

TXTabView::TXTabView(QWidget *parent)
    : QStackedWidget(parent)
{
    setContentsMargins(0, int(GroundViewGeometry::kTabHeaderHeight), 0, 0);
    setFrameShape(QFrame::NoFrame);
}

void TXTabView::setPageTitle(int index, const QString &title)
{
    mTitles.insert(index, title);
    update();
}

void TXTabView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(event->rect(), Palette::background());
    const QRectF band(0, 0, width(), GroundViewGeometry::kTabHeaderHeight);
    painter.fillRect(band, Palette::headerGradient(band, 90));
    painter.setPen(QPen(Palette::separator(), 0.25));
    painter.drawLine(QPointF(0, GroundViewGeometry::kTabSeparatorY), QPointF(width(), GroundViewGeometry::kTabSeparatorY));
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(band.adjusted(12, 0, -12, -2), Qt::AlignVCenter | Qt::AlignLeft, mTitles.value(currentIndex()));
    painter.end();
    if (mDidRefreshTab)
        mDidRefreshTab();
}
