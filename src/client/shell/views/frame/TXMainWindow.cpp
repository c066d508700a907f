#include "client/shell/views/frame/TXMainWindow.h"

#include "desktop/kit/CustomViewGeometry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QToolButton>

namespace {

QToolButton *windowButton(const QString &text, const QString &tip, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(
        QStringLiteral("QToolButton { color: white; font-weight: bold; border: none; padding: 2px 6px; }"
                       "QToolButton:hover { background: rgba(255,255,255,60); border-radius: 4px; }"));
    return button;
}

constexpr int kWindowButtonsMargin = 8;

}  // namespace

TXMainWindow::TXMainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setMinimumSize(860, 560);
    setMaximumSize(1800, 1400);
    mWindowButtons = new QWidget(this);
    auto *buttons = new QHBoxLayout(mWindowButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(2);
    QToolButton *minimise = windowButton(QStringLiteral("\u2013"), tr("Minimise"), mWindowButtons);
    QToolButton *close = windowButton(QStringLiteral("\u2715"), tr("Close"), mWindowButtons);
    buttons->addWidget(minimise);
    buttons->addWidget(close);
    connect(minimise, &QToolButton::clicked, this, &QWidget::showMinimized);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    qApp->installEventFilter(this);
}

TXMainWindow::~TXMainWindow() { qApp->removeEventFilter(this); }

void TXMainWindow::setContentView(QWidget *view)
{
    mContentView = view;
    view->setParent(this);
    view->setGeometry(rect());
    view->lower();
    view->show();
}

void TXMainWindow::addViewToTitleBar(QWidget *view, double x)
{
    view->setParent(this);
    view->adjustSize();
    const int viewX =
        int(CustomViewGeometry::titleBarViewX(width() - mWindowButtons->sizeHint().width(), view->width()));
    mTitleBarViews.append({view, CustomViewGeometry::titleBarViewFollowsRightEdge(x, width()), viewX});
    view->show();
    view->raise();
    placeTitleBarViews();
}

void TXMainWindow::placeTitleBarViews()
{
    const QSize buttons = mWindowButtons->sizeHint();
    mWindowButtons->setGeometry(width() - buttons.width() - kWindowButtonsMargin,
                                (kTitleStripHeight - buttons.height()) / 2, buttons.width(), buttons.height());
    mWindowButtons->raise();
    const int contentWidth = width() - buttons.width();
    for (const TitleBarView &placed : std::as_const(mTitleBarViews)) {
        placed.view->adjustSize();
        const int x = placed.followsRightEdge
                          ? int(CustomViewGeometry::titleBarViewX(contentWidth, placed.view->width()))
                          : placed.leftDistance;
        placed.view->move(x, (kTitleStripHeight - placed.view->height()) / 2);
    }
}

bool TXMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && mMouseDown && watched->isWidgetType()) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if ((press->button() == Qt::LeftButton || press->button() == Qt::RightButton) &&
            static_cast<QWidget *>(watched)->window() == this)
            mMouseDown();
    }
    return QWidget::eventFilter(watched, event);
}

void TXMainWindow::closeEvent(QCloseEvent *event)
{
    if (mShouldClose && !mShouldClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TXMainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (mContentView)
        mContentView->setGeometry(rect());
    placeTitleBarViews();
    emit resized();
}
