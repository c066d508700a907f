#include "desktop/kit/views/TXGroundView.h"

#include "desktop/kit/GroundViewGeometry.h"
#include "desktop/kit/views/Palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

TXGroundView::TXGroundView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusPolicy(Qt::ClickFocus);
}

void TXGroundView::setItemSelected(int row)
{
    mSelectedItem = row;
    update();
}

void TXGroundView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF panel = QRectF(rect()).adjusted(1.0, 4.0, -1.0, -4.0);
    QPainterPath rounded;
    rounded.addRoundedRect(panel, 4.5, 4.5);
    painter.setClipPath(rounded);
    painter.fillRect(panel, Palette::background());
    painter.setPen(QPen(Palette::groundAccent(), 2.5));
    painter.drawPath(rounded);

    painter.fillRect(GroundViewGeometry::markerRect(mSelectedItem), Palette::background());

    const QRectF header = GroundViewGeometry::headerRect(size());
    painter.fillRect(header, Palette::headerGradient(header, 270));
    painter.setPen(QPen(Palette::separator(), 0.25));
    const double y = GroundViewGeometry::headerSeparatorY();
    painter.drawLine(QPointF(header.left(), y), QPointF(header.right(), y));
}

void TXGroundView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    QWidget *topLevel = window();
    const QPoint inWindow = mapTo(topLevel, event->position().toPoint());
    const bool onGrip = GroundViewGeometry::gripRect(topLevel->size()).contains(inWindow);
    QWindow *handle = topLevel->windowHandle();
    const bool systemDrag =
        handle && (onGrip ? handle->startSystemResize(Qt::RightEdge | Qt::BottomEdge) : handle->startSystemMove());
    if (systemDrag)
        return;
    mDrag = onGrip ? Drag::Resize : Drag::Move;
    mDragStart = event->globalPosition().toPoint();
    mWindowStart = topLevel->pos();
    mSizeStart = topLevel->size();
}

void TXGroundView::mouseMoveEvent(QMouseEvent *event)
{
    QWidget *topLevel = window();
    const QPoint delta = event->globalPosition().toPoint() - mDragStart;
    if (mDrag == Drag::Move) {
        topLevel->move(mWindowStart + delta);
    } else if (mDrag == Drag::Resize) {
        topLevel->resize(
            GroundViewGeometry::resizedSize(mSizeStart, delta, topLevel->minimumSize(), topLevel->maximumSize())
                .toSize());
    }
}

void TXGroundView::mouseReleaseEvent(QMouseEvent *) { mDrag = Drag::None; }
