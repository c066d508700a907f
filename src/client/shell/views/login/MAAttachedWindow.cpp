#include "client/shell/views/login/MAAttachedWindow.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <cmath>

using namespace AttachedWindowGeometry;

MAAttachedWindow::MAAttachedWindow(QWidget *view, const QPointF &point, QWidget *parentWindow, int side,
                                   double distance, bool isDisconnectWindow)
    : QWidget(parentWindow, Qt::Tool | Qt::FramelessWindowHint)
    , mView(view)
    , mParentWindow(parentWindow)
    , mPoint(point)
    , mSide(side)
    , mDistance(distance)
    , mIsDisconnectWindow(isDisconnectWindow)
{
    setAttribute(Qt::WA_TranslucentBackground);
    view->setParent(this);
    view->show();
    if (parentWindow)
        parentWindow->installEventFilter(this);
    view->installEventFilter(this);
    redisplay();
}

MAAttachedWindow::~MAAttachedWindow()
{
    if (mParentWindow)
        mParentWindow->removeEventFilter(this);
}

QWidget *MAAttachedWindow::takeView()
{
    QWidget *view = mView;
    if (view) {
        view->removeEventFilter(this);
        view->hide();
        view->setParent(nullptr);
    }
    mView = nullptr;
    return view;
}

void MAAttachedWindow::redisplay()
{
    if (mResizing || !mView)
        return;
    mResizing = true;
    const QPointF screenPoint = mParentWindow ? QPointF(mParentWindow->mapToGlobal(mPoint.toPoint())) : mPoint;
    const Frames placed = frames(mView->size(), mStyle, screenPoint, mSide, mDistance, mIsDisconnectWindow);
    mViewFrame = placed.viewFrame;
    setGeometry(placed.window.toAlignedRect());
    mView->move(mViewFrame.topLeft().toPoint());
    // The panel's shape, grown by the border, clips the window even where no compositor blends its edges.
    const double grow = std::ceil(mStyle.borderWidth);
    QPainterPath shape = backgroundPath();
    QPainterPathStroker stroker;
    stroker.setWidth(2 * grow);
    setMask(QRegion((shape + stroker.createStroke(shape)).toFillPolygon().toPolygon()));
    update();
    mResizing = false;
}

QPainterPath MAAttachedWindow::backgroundPath() const
{
    QPainterPath path;
    const double r = mStyle.cornerRadius;
    for (const PathStep &step : outline(mViewFrame, mStyle, mSide)) {
        switch (step.kind) {
        case PathStep::kMove:
            path.moveTo(step.to);
            break;
        case PathStep::kLine:
            path.lineTo(step.to);
            break;
        case PathStep::kArc: {
            // A quarter circle from the current point to the step's end around the corner's centre.
            const QRectF circle(step.arcCentre - QPointF(r, r), QSizeF(2 * r, 2 * r));
            const QPointF from = path.currentPosition() - step.arcCentre;
            const double startAngle = std::atan2(-from.y(), from.x()) * 180.0 / M_PI;
            path.arcTo(circle, startAngle, -90.0);
            break;
        }
        }
    }
    path.closeSubpath();
    return path;
}

void MAAttachedWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = backgroundPath();
    painter.setClipPath(path);
    painter.fillPath(path, mBackground);
    if (mStyle.borderWidth > 0) {
        // Twice as wide as the border: the half outside the clip is not drawn.
        painter.setPen(QPen(mBorderColor, 2 * mStyle.borderWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
    }
}

bool MAAttachedWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool parentMoved =
        watched == mParentWindow && (event->type() == QEvent::Move || event->type() == QEvent::Resize);
    const bool viewResized = watched == mView && event->type() == QEvent::Resize;
    if (parentMoved || viewResized)
        redisplay();
    return QWidget::eventFilter(watched, event);
}

void MAAttachedWindow::setBorderColor(const QColor &color)
{
    mBorderColor = color;
    update();
}

void MAAttachedWindow::setBackgroundColor(const QColor &color)
{
    mBackground = color;
    update();
}

void MAAttachedWindow::setBackgroundImage(const QPixmap &image)
{
    if (image.isNull())
        return;
    mBackground = QBrush(image);
    update();
}

void MAAttachedWindow::setBorderWidth(double width)
{
    mStyle.borderWidth = clampedBorderWidth(width, mStyle);
    redisplay();
}

void MAAttachedWindow::setHasArrow(bool hasArrow)
{
    mStyle.hasArrow = hasArrow;
    redisplay();
}

void MAAttachedWindow::setViewMargin(double margin)
{
    const double clamped = clampedViewMargin(margin);
    if (clamped == mStyle.viewMargin)
        return;
    mStyle.viewMargin = clamped;
    setCornerRadius(mStyle.cornerRadius);
    redisplay();
}

void MAAttachedWindow::setCornerRadius(double radius)
{
    const double clamped = clampedCornerRadius(radius, mStyle, mViewFrame.size());
    if (clamped != mStyle.cornerRadius) {
        mStyle.cornerRadius = clamped;
        redisplay();
    }
    setArrowBaseWidth(mStyle.arrowBaseWidth);
}

void MAAttachedWindow::setArrowBaseWidth(double width)
{
    const double clamped = clampedArrowBaseWidth(width, mStyle, mViewFrame.size());
    if (clamped == mStyle.arrowBaseWidth)
        return;
    mStyle.arrowBaseWidth = clamped;
    redisplay();
}

void MAAttachedWindow::setArrowHeight(double height)
{
    if (height == mStyle.arrowHeight)
        return;
    mStyle.arrowHeight = height;
    redisplay();
}

void MAAttachedWindow::setDrawsRoundCornerBesideArrow(bool rounds)
{
    if (rounds == mStyle.drawsRoundCornerBesideArrow)
        return;
    mStyle.drawsRoundCornerBesideArrow = rounds;
    redisplay();
}

void MAAttachedWindow::setDisconnectWindow(bool isDisconnectWindow)
{
    mIsDisconnectWindow = isDisconnectWindow;
    redisplay();
}
