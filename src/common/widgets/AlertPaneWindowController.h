#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class AlertPaneWindowControllerDelegateProtocol;
class QDialog;
class QLabel;
class QPushButton;

// The application's own message window: a title, a message, the brand's icon
// and up to three buttons, shown modally (the caller waits for the answer) or
// as a free window (the answer goes to the delegate). The window grows
// downward with the message's line count. Created per message by its caller,
// which owns it; main thread only.
class AlertPaneWindowController : public QObject
{
    Q_OBJECT
public:
    static constexpr int kAnswerDefault = 1;
    static constexpr int kAnswerAlternate = 0;
    static constexpr int kAnswerOther = -1;
    // The window was closed without a button (Escape or the close box). It is
    // none of the three answers, so no caller mistakes it for "No" or "Yes".
    static constexpr int kAnswerDismissed = -2;

    static constexpr int kCharactersPerLine = 70;
    static constexpr int kLineHeight = 18;     // growth per message line beyond the designed ones
    static constexpr int kDesignedLines = 2;   // lines the message field holds as designed
    static constexpr int kFitTitleLength = 6;  // shorter default and alternate titles keep the designed width

    // Any title may be null. A null default title keeps the designed button;
    // a null alternate or other title hides that button. The delegate, when
    // given, must outlive the alert. Creating an alert hides the previous
    // one's window, unless that one is still waiting for a modal answer.
    AlertPaneWindowController(const QString &defaultTitle, const QString &alternateTitle, const QString &otherTitle,
                              AlertPaneWindowControllerDelegateProtocol *delegate = nullptr);
    ~AlertPaneWindowController() override;

    // The window the alert belongs to. The alert is shown centred over it and
    // kept above it; without one it belongs to the program's active window, and
    // with neither it is centred on the screen.
    void setOwnerWindow(QWidget *owner) { mOwnerWindow = owner; }

    // Modal: runs the window until it is answered and returns 1, 0 or -1 by
    // the button, or kAnswerDismissed. Another modal window that is waiting is
    // left alone: this one runs on top of it. Free: shows the window, returns
    // -1 at once, and the delegate gets the answer.
    int displayMessage(const QString &message, const QString &title, bool isModal);

    // The icon view; a caller may set its own image before displayMessage.
    QLabel *mImageView() const { return mImageViewLabel; }
    bool isModal() const { return mIsModal; }

    QDialog *window() const { return mWindow.get(); }
    QPushButton *okButton() const { return mOkButton; }
    QPushButton *cancelButton() const { return mCancelButton; }
    QPushButton *otherButton() const { return mOtherButton; }

    // The most recently created alert that still exists, or null.
    static AlertPaneWindowController *current();

    // Lines of a message: each piece between line feeds counts 1 when empty,
    // else its length divided by kCharactersPerLine, rounded up.
    static int calculateTotalLinesFromText(const QString &text);

private:
    void layOutButtons(const QString &defaultTitle, const QString &alternateTitle, const QString &otherTitle);
    void resizeWindowFromTextLength(int extraLines);
    QWidget *owner() const;
    void placeOverOwner();
    void buttonClicked(QPushButton *button);
    void windowDismissed();

    std::unique_ptr<QDialog> mWindow;
    QLabel *mMessageString = nullptr;
    QLabel *mTitleString = nullptr;
    QLabel *mImageViewLabel = nullptr;
    QPushButton *mOkButton = nullptr;
    QPushButton *mCancelButton = nullptr;
    QPushButton *mOtherButton = nullptr;
    AlertPaneWindowControllerDelegateProtocol *mDelegateObj = nullptr;
    QPointer<QWidget> mOwnerWindow;
    int mButtonClicked = kAnswerDismissed;
    bool mIsModal = false;
    bool mIsWaitingForAnswer = false;  // a modal run is in progress
};
