#pragma once

#include <QWidget>

#include <functional>

class QHBoxLayout;

// The frameless main window. Its title strip (the top band of the window's
// background) holds the logo at the left, views placed by
// addViewToTitleBar, and the close and minimise buttons at the right. Any
// left or right mouse press inside the window first runs the press hook (the
// main controller hides the account menu with it). Closing asks the close
// hook, which may refuse.
class TXMainWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTitleStripHeight = 42;

    explicit TXMainWindow(QWidget *parent = nullptr);
    ~TXMainWindow() override;

    void setMouseDownHook(std::function<void()> hideDisconnectView) { mMouseDown = std::move(hideDisconnectView); }
    void setShouldCloseHook(std::function<bool()> windowShouldClose) { mShouldClose = std::move(windowShouldClose); }

    // The content view fills the window below nothing: it draws the title strip itself.
    void setContentView(QWidget *view);
    QWidget *contentView() const { return mContentView; }

    // Places a view in the title strip: right-aligned 20 points from the
    // right edge, keeping that distance (asked for in the right half) or its
    // distance to the left edge. The x asked for does not move the view.
    void addViewToTitleBar(QWidget *view, double x);
    double heightOfTitleBar() const { return kTitleStripHeight; }

signals:
    void resized();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeTitleBarViews();

    struct TitleBarView
    {
        QWidget *view;
        bool followsRightEdge;
        int leftDistance;
    };

    QWidget *mContentView = nullptr;
    QWidget *mWindowButtons = nullptr;
    QList<TitleBarView> mTitleBarViews;
    std::function<void()> mMouseDown;
    std::function<bool()> mShouldClose;
};
