#include "client/shell/views/login/LoginWindows.h"

#include "client/shell/login/AttachedWindowGeometry.h"
#include "client/shell/views/account/AccountMenuView.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/login/EncryptionSetupView.h"
#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/MAAttachedWindow.h"
#include "client/shell/views/login/PrivateKeyView.h"
#include "desktop/kit/views/ClientArtwork.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace {
constexpr double kDistance = 10.0;
constexpr double kBorderWidth = 0.5;
constexpr double kCornerRadius = 4.0;
QColor borderColour() { return QColor::fromRgbF(0.4, 0.51, 0.58, 1.0); }

// The field a user types into first: the first empty one shown (the password once
// the user name is remembered), else the first one shown.
QLineEdit *firstFieldToType(const QWidget *page)
{
    QLineEdit *first = nullptr;
    for (QLineEdit *field : page->findChildren<QLineEdit *>()) {
        if (!field->isVisibleTo(page) || !field->isEnabled())
            continue;
        if (field->text().isEmpty())
            return field;
        if (!first)
            first = field;
    }
    return first;
}
}  // namespace

LoginWindows::LoginWindows(TXMainWindow *mainWindow, QPushButton *loginButton)
    : mMainWindow(mainWindow)
    , mLoginButton(loginButton)
    , mPages(std::make_unique<QStackedWidget>())
    , mMenu(std::make_unique<AccountMenuView>())
    , mLoginView(new LoginFormView)
    , mConfigurationView(new EncryptionSetupView)
    , mEncryptionKeyView(new PrivateKeyView)
    , mDiconnectView(mMenu.get())
{
    mPages->addWidget(mLoginView);
    mPages->addWidget(mConfigurationView);
    mPages->addWidget(mEncryptionKeyView);
    mPages->setAttribute(Qt::WA_TranslucentBackground);
    showPage(Page::LoginForm);
}

LoginWindows::~LoginWindows()
{
    close(mAttachedWindow);
    close(mDisconnectWindow);
}

void LoginWindows::showPage(Page page)
{
    mPage = page;
    mPages->setCurrentIndex(int(page));
    fitPages();
    if (isFloatingWindowVisible())
        focusFirstField();
}

void LoginWindows::focusFirstField()
{
    // Without this the page's close button, first in the tab order, takes the keys.
    if (QLineEdit *field = firstFieldToType(mPages->currentWidget()))
        field->setFocus(Qt::ActiveWindowFocusReason);
}

void LoginWindows::fitPages()
{
    // The window takes the size of the page it shows; the form grows with its error text.
    mPages->resize(mPages->currentWidget()->sizeHint());
}

std::unique_ptr<MAAttachedWindow> LoginWindows::attach(QWidget *view, bool isDisconnectWindow)
{
    const QRect button = mLoginButton->geometry();
    const QPointF anchor(button.x() + button.width() * 0.5, button.y() + button.height() * 0.5);
    auto window = std::make_unique<MAAttachedWindow>(
        view, anchor, mMainWindow, AttachedWindowGeometry::kBelowShiftedLeft, kDistance, isDisconnectWindow);
    window->setBorderColor(borderColour());
    window->setBackgroundImage(ClientArtwork::image(QStringLiteral("LoginWinBg.png")));
    window->setBorderWidth(kBorderWidth);
    window->setCornerRadius(kCornerRadius);
    window->setHasArrow(true);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void LoginWindows::close(std::unique_ptr<MAAttachedWindow> &window)
{
    if (!window)
        return;
    window->takeView();
    window.reset();
}

void LoginWindows::displayFloatingWindow()
{
    close(mAttachedWindow);
    fitPages();
    mAttachedWindow = attach(mPages.get(), false);
    focusFirstField();
}

void LoginWindows::hideFloatingWindow() { close(mAttachedWindow); }

bool LoginWindows::isFloatingWindowVisible() const { return mAttachedWindow && mAttachedWindow->isVisible(); }

void LoginWindows::showDisconnectWindow()
{
    if (isFloatingWindowVisible())
        return;
    close(mDisconnectWindow);
    mDisconnectWindow = attach(mMenu.get(), true);
}

void LoginWindows::closeDisconnectWindow() { close(mDisconnectWindow); }

bool LoginWindows::isDisconnectWindowVisible() const { return mDisconnectWindow && mDisconnectWindow->isVisible(); }
