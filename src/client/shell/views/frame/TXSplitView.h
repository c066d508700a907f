#pragma once

#include <QSplitter>

// A splitter that draws no divider and lets it be dragged only while
// dragging is switched on, and then only inside its limits (see
// CustomViewGeometry::splitDividerRange).
class TXSplitView : public QSplitter
{
    Q_OBJECT
public:
    explicit TXSplitView(Qt::Orientation orientation, QWidget *parent = nullptr);

    void setShouldDrag(bool shouldDrag);
    bool shouldDrag() const { return mShouldDrag; }

protected:
    QSplitterHandle *createHandle() override;

private:
    bool mShouldDrag = false;
};
