#include "client/shell/views/frame/TXSplitView.h"

#include "desktop/kit/CustomViewGeometry.h"

#include <QMouseEvent>
#include <QSplitterHandle>

#include <algorithm>

namespace {

class TXSplitViewHandle : public QSplitterHandle
{
public:
    TXSplitViewHandle(Qt::Orientation orientation, TXSplitView *parent)
        : QSplitterHandle(orientation, parent)
        , mSplitView(parent)
    {}

protected:
    void paintEvent(QPaintEvent *) override {}

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!mSplitView->shouldDrag() || !(event->buttons() & Qt::LeftButton))
            return;
        const bool sideBySide = orientation() == Qt::Horizontal;
        const QPoint inSplitter = mapToParent(event->position().toPoint());
        const double extent = sideBySide ? mSplitView->width() : mSplitView->height();
        const auto range = CustomViewGeometry::splitDividerRange(0, extent, extent, sideBySide);
        const double wanted = sideBySide ? inSplitter.x() : inSplitter.y();
        moveSplitter(int(std::clamp(wanted, range.minimum, std::max(range.minimum, range.maximum))));
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (mSplitView->shouldDrag())
            QSplitterHandle::mousePressEvent(event);
    }

private:
    TXSplitView *mSplitView;
};

}  // namespace

TXSplitView::TXSplitView(Qt::Orientation orientation, QWidget *parent)
    : QSplitter(orientation, parent)
{
    setHandleWidth(1);
    setChildrenCollapsible(false);
}

void TXSplitView::setShouldDrag(bool shouldDrag)
{
    mShouldDrag = shouldDrag;
    for (int i = 0; i < count(); ++i)
        handle(i)->setCursor(shouldDrag ? (orientation() == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor)
                                        : Qt::ArrowCursor);
}

QSplitterHandle *TXSplitView::createHandle() { return new TXSplitViewHandle(orientation(), this); }
