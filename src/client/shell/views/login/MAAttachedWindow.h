#pragma once

#include "client/shell/login/AttachedWindowGeometry.h"

#include <QBrush>
#include <QColor>
#include <QPointF>
#include <QPointer>
#include <QWidget>

// A frameless, borderless window that shows one view in a rounded, bordered
// panel with an arrow pointing at a point of its parent window, and follows
// the parent when it moves. The panel's outline is also the window's shape,
// so the window looks right with or without a compositor.
class MAAttachedWindow : public QWidget
{
    Q_OBJECT
public:
    // The point is in the parent window's coordinates. The view becomes the
    // window's child; the window does not own it beyond its own life.
    MAAttachedWindow(QWidget *view, const QPointF &point, QWidget *parentWindow, int side, double distance,
                     bool isDisconnectWindow);
    ~MAAttachedWindow() override;

    // Gives the view back to the caller (unparented) before the window goes.
    QWidget *takeView();

    void setBorderColor(const QColor &color);
    void setBackgroundColor(const QColor &color);
    void setBackgroundImage(const QPixmap &image);  // a null image is ignored
    void setBorderWidth(double width);
    void setHasArrow(bool hasArrow);
    void setViewMargin(double margin);
    void setCornerRadius(double radius);
    void setArrowBaseWidth(double width);
    void setArrowHeight(double height);
    void setDrawsRoundCornerBesideArrow(bool rounds);
    void setDisconnectWindow(bool isDisconnectWindow);

    QColor borderColor() const { return mBorderColor; }
    QBrush windowBackgroundColor() const { return mBackground; }
    const AttachedWindowGeometry::Style &style() const { return mStyle; }
    int side() const { return mSide; }
    QRectF viewFrame() const { return mViewFrame; }

    // Places the window again after the view's size or the parent's place changed.
    void redisplay();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPainterPath backgroundPath() const;

    QPointer<QWidget> mView;
    QPointer<QWidget> mParentWindow;
    QPointF mPoint;
    int mSide;
    double mDistance;
    bool mIsDisconnectWindow;
    AttachedWindowGeometry::Style mStyle;
    QColor mBorderColor = Qt::white;
    QBrush mBackground = QColor::fromRgbF(0.1, 0.1, 0.1, 0.75);
    QRectF mViewFrame;
    bool mResizing = false;
};
