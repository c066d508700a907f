#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>

// The main window's background: a rounded panel with the title strip's
// gradient at the top and a marker beside the selected sidebar row. A press
// on it moves the frameless window; a press on the grip in the lower-right
// corner resizes it within the window's minimum and maximum sizes.
class TXGroundView : public QWidget
{
    Q_OBJECT
public:
    explicit TXGroundView(QWidget *parent = nullptr);

    void setItemSelected(int row);
    int selectedItem() const { return mSelectedItem; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Drag
    {
        None,
        Move,
        Resize
    };

    int mSelectedItem = 0;
    // Used only where the window system cannot move or resize the window itself.
    Drag mDrag = Drag::None;
    QPoint mDragStart;
    QPoint mWindowStart;
    QSize mSizeStart;
};
