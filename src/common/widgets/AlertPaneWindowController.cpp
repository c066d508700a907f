#include "common/widgets/AlertPaneWindowController.h"

#include "common/widgets/AlertPaneWindowControllerDelegateProtocol.h"
#include "common/widgets/ResourceImage.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <algorithm>

namespace {

// The designed window ("AlertPanel"), in pixels from its top-left corner.
constexpr int kWindowWidth = 600;
constexpr int kWindowHeight = 150;
constexpr QRect kIconFrame(20, 20, 64, 64);
constexpr QRect kTitleFrame(104, 16, 476, 22);
constexpr QRect kMessageFrame(104, 42, 476, 40);
constexpr int kButtonTop = 104;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 8;
constexpr int kDefaultButtonLeft = kWindowWidth - 20 - kButtonWidth;

// Process-wide on purpose: the screen shows one alert of the program at a
// time; a new one hides the last unless that one still waits for its answer.
// The guarded pointer clears itself when that alert goes.
QPointer<AlertPaneWindowController> &latestAlert()
{
    static QPointer<AlertPaneWindowController> latest;
    return latest;
}

QPushButton *makeButton(QDialog *window, int slotFromRight)
{
    auto *button = new QPushButton(window);
    button->setGeometry(kDefaultButtonLeft - slotFromRight * (kButtonWidth + kButtonGap), kButtonTop, kButtonWidth,
                        kButtonHeight);
    button->setAutoDefault(false);
    return button;
}

// Sets the title and fits the button to it when asked; returns the growth in width.
int titleButton(QPushButton *button, const QString &title, bool fit)
{
    button->setText(title);
    if (!fit)
        return 0;
    const int before = button->width();
    button->resize(button->sizeHint().width(), button->height());
    return button->width() - before;
}

void moveLeftBy(QPushButton *button, int growth) { button->move(button->x() - growth, button->y()); }

}  // namespace

AlertPaneWindowController::AlertPaneWindowController(const QString &defaultTitle, const QString &alternateTitle,
                                                     const QString &otherTitle,
                                                     AlertPaneWindowControllerDelegateProtocol *delegate)
    : mWindow(std::make_unique<QDialog>())
    , mDelegateObj(delegate)
{
    Q_ASSERT(QThread::currentThread() == qApp->thread());
    mWindow->setObjectName(QStringLiteral("AlertPanel"));
    mWindow->setFixedSize(kWindowWidth, kWindowHeight);

    mImageViewLabel = new QLabel(mWindow.get());
    mImageViewLabel->setGeometry(kIconFrame);
    mImageViewLabel->setScaledContents(true);

    mTitleString = new QLabel(mWindow.get());
    mTitleString->setGeometry(kTitleFrame);
    mTitleString->setTextFormat(Qt::PlainText);
    QFont titleFont = mTitleString->font();
    titleFont.setBold(true);
    mTitleString->setFont(titleFont);

    // Messages often carry file names: plain text, never markup.
    mMessageString = new QLabel(mWindow.get());
    mMessageString->setGeometry(kMessageFrame);
    mMessageString->setTextFormat(Qt::PlainText);
    mMessageString->setWordWrap(true);
    mMessageString->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mMessageString->setTextInteractionFlags(Qt::TextSelectableByMouse);

    mOkButton = makeButton(mWindow.get(), 0);
    mOkButton->setDefault(true);
    mCancelButton = makeButton(mWindow.get(), 1);
    mOtherButton = makeButton(mWindow.get(), 2);
    for (QPushButton *button : {mOkButton, mCancelButton, mOtherButton})
        connect(button, &QPushButton::clicked, this, [this, button] { buttonClicked(button); });
    connect(mWindow.get(), &QDialog::rejected, this, &AlertPaneWindowController::windowDismissed);

    QPointer<AlertPaneWindowController> &latest = latestAlert();
    if (latest && !latest->mIsWaitingForAnswer)
        latest->mWindow->hide();
    latest = this;

    layOutButtons(defaultTitle, alternateTitle, otherTitle);
}

AlertPaneWindowController::~AlertPaneWindowController() = default;

AlertPaneWindowController *AlertPaneWindowController::current() { return latestAlert(); }

// Right to left: each button keeps its right edge in line with the growth of
// the buttons to its right.
void AlertPaneWindowController::layOutButtons(const QString &defaultTitle, const QString &alternateTitle,
                                              const QString &otherTitle)
{
    int growth = 0;
    if (!defaultTitle.isNull()) {
        growth = titleButton(mOkButton, defaultTitle, defaultTitle.size() >= kFitTitleLength);
        moveLeftBy(mOkButton, growth);
    }
    if (alternateTitle.isNull()) {
        mCancelButton->hide();
    } else {
        growth += titleButton(mCancelButton, alternateTitle, alternateTitle.size() >= kFitTitleLength);
        moveLeftBy(mCancelButton, growth);
    }
    if (otherTitle.isNull()) {
        mOtherButton->hide();
    } else {
        growth += titleButton(mOtherButton, otherTitle, true);
        moveLeftBy(mOtherButton, growth);
    }
}

int AlertPaneWindowController::calculateTotalLinesFromText(const QString &text)
{
    int lines = 0;
    for (const QStringView piece : QStringView(text).split(u'\n'))
        lines += piece.isEmpty() ? 1 : int((piece.size() + kCharactersPerLine - 1) / kCharactersPerLine);
    return lines;
}

// The message field grows downward; the buttons move down with its bottom.
void AlertPaneWindowController::resizeWindowFromTextLength(int extraLines)
{
    if (extraLines <= 0)
        return;
    const int growth = kLineHeight * extraLines;
    mMessageString->resize(mMessageString->width(), mMessageString->height() + growth);
    for (QPushButton *button : {mOkButton, mCancelButton, mOtherButton})
        button->move(button->x(), button->y() + growth);
    mWindow->setFixedSize(mWindow->width(), mWindow->height() + growth);
}

int AlertPaneWindowController::displayMessage(const QString &message, const QString &title, bool isModal)
{
    if (mImageViewLabel->pixmap().isNull())
        mImageViewLabel->setPixmap(ResourceImage::brandIcon());
    mIsModal = isModal;
    mMessageString->setText(message);
    mTitleString->setText(title);
    mWindow->setWindowTitle(title);
    resizeWindowFromTextLength(calculateTotalLinesFromText(message) - kDesignedLines);

    const QPixmap pattern = ResourceImage::load(QStringLiteral("windBG.png"));
    if (!pattern.isNull()) {
        QPalette palette = mWindow->palette();
        palette.setBrush(QPalette::Window, QBrush(pattern));
        mWindow->setPalette(palette);
        mWindow->setAutoFillBackground(true);
    }

    placeOverOwner();
    mButtonClicked = kAnswerDismissed;
    if (isModal) {
        // exec() nests: a modal window already waiting keeps waiting for its own answer.
        mIsWaitingForAnswer = true;
        mWindow->exec();
        mIsWaitingForAnswer = false;
        return mButtonClicked;
    }
    mWindow->show();
    mWindow->raise();
    mWindow->activateWindow();
    return kAnswerOther;
}

QWidget *AlertPaneWindowController::owner() const
{
    QWidget *owner = mOwnerWindow ? mOwnerWindow->window() : QApplication::activeWindow();
    return owner && owner != mWindow.get() && owner->isVisible() ? owner : nullptr;
}

// Centred over the window it belongs to, wholly on that window's screen, and
// above it for the window manager; without an owner, centred on the screen.
void AlertPaneWindowController::placeOverOwner()
{
    QWidget *ownerWindow = owner();
    const QScreen *screen = ownerWindow ? ownerWindow->screen() : mWindow->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    QRect frame(QPoint(), mWindow->size());
    frame.moveCenter(ownerWindow ? ownerWindow->frameGeometry().center() : area.center());
    if (area.isValid()) {
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        frame.moveLeft(std::max(frame.left(), area.left()));
        frame.moveTop(std::max(frame.top(), area.top()));
    }
    mWindow->move(frame.topLeft());
    if (!ownerWindow || !ownerWindow->windowHandle())
        return;
    mWindow->winId();  // the native window, so that it can name its owner
    mWindow->windowHandle()->setTransientParent(ownerWindow->windowHandle());
}

void AlertPaneWindowController::buttonClicked(QPushButton *button)
{
    mButtonClicked = button == mOkButton ? kAnswerDefault : button == mCancelButton ? kAnswerAlternate : kAnswerOther;
    if (mIsModal) {
        mWindow->accept();
        return;
    }
    mWindow->hide();
    if (mDelegateObj)
        mDelegateObj->didClickButton(mButtonClicked);
}

// Escape or the close box: a free window still tells its delegate that it is gone.
void AlertPaneWindowController::windowDismissed()
{
    if (!mIsModal && mDelegateObj)
        mDelegateObj->didClickButton(kAnswerDismissed);
}
