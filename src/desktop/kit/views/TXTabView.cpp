#include "desktop/kit/views/TXTabView.h"

#include "desktop/kit/GroundViewGeometry.h"
#include "desktop/kit/views/Palette.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QVBoxLayout>

TXTabView::TXTabView(QWidget *parent)
    : QWidget(parent)
    , mPages(new QStackedWidget(this))
{
    auto *layout = new QVBoxLayout(this);
    // The pages lie below the header band.
    layout->setContentsMargins(0, int(GroundViewGeometry::kTabHeaderHeight), 0, 0);
    layout->addWidget(mPages);
}

void TXTabView::setPageTitle(int index, const QString &title)
{
    mTitles.insert(index, title);
    update();
}

void TXTabView::addPage(QWidget *page) { mPages->addWidget(page); }

void TXTabView::replacePage(int index, QWidget *page)
{
    QWidget *old = mPages->widget(index);
    mPages->insertWidget(index, page);
    mPages->removeWidget(old);
    old->deleteLater();
}

QWidget *TXTabView::page(int index) const { return mPages->widget(index); }

int TXTabView::currentIndex() const { return mPages->currentIndex(); }

void TXTabView::setCurrentIndex(int index)
{
    mPages->setCurrentIndex(index);
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
    painter.drawLine(QPointF(0, GroundViewGeometry::kTabSeparatorY),
                     QPointF(width(), GroundViewGeometry::kTabSeparatorY));
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(band.adjusted(12, 0, -12, -2), Qt::AlignVCenter | Qt::AlignLeft, mTitles.value(currentIndex()));
    painter.end();
    if (mDidRefreshTab)
        mDidRefreshTab();
}
