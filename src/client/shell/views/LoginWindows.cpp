#include "client/shell/views/LoginWindows.h"

#include "client/shell/viewmodels/AttachedWindowGeometry.h"
#include "client/shell/views/AccountMenuView.h"
#include "client/shell/views/ClientArtwork.h"
#include "client/shell/views/EncryptionSetupView.h"
#include "client/shell/views/LoginFormView.h"
#include "client/shell/views/MAAttachedWindow.h"
#include "client/shell/views/PrivateKeyView.h"
#include "client/shell/views/TXMainWindow.h"

#include "client/shell/LoginViewController.h"
#include "client/shell/views/LoginPageParts.h"
#include "client/shell/views/NSButtonHover.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>

namespace {
constexpr double kDistance = 10.0;
constexpr double kBorderWidth = 0.5;
constexpr double kCornerRadius = 4.0;
QColor borderColour() { return QColor::fromRgbF(0.4, 0.51, 0.58, 1.0); }
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
    auto window = std::make_unique<MAAttachedWindow>(view, anchor, mMainWindow, AttachedWindowGeometry::kBelowShiftedLeft,
                                                     kDistance, isDisconnectWindow);
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

void LoginWindows::connectActions(LoginViewController &login)
{
    // The speed test asks the engine's transfer-rate runner, which is not built yet.
    mDiconnectView->mBandwidthTestButton->hide();
    mDiconnectView->adjustSize();
    connect(mLoginView, &LoginFormView::performLogin, this, [&login] { login.performLogin(); });
    connect(mLoginView, &LoginFormView::rememberMe, this, [&login] { login.rememberMe(); });
    connect(mLoginView, &LoginFormView::forgotPassword, this, [&login] { login.forgotPasswordHandling(); });
    connect(mLoginView, &LoginFormView::signUp, this, [&login] { login.signupForm(); });
    connect(mLoginView, &LoginFormView::linkActivated, this, [this](const QString &link) { openURL(QUrl(link)); });
    connect(mLoginView, &LoginFormView::emailAccountChosen, this, [&login](const QString &name) { login.onEmailBoxClick(name); });
    connect(mLoginView, &LoginFormView::openPreferences, this, &LoginWindows::openPreferencesRequested);
    // Closing the login form ends the program, as closing the window does.
    connect(mLoginView, &LoginFormView::closeButtonClicked, mMainWindow, &QWidget::close);
    connect(mConfigurationView, &EncryptionSetupView::configureAccount, this, [&login] { login.configureAccount(); });
    connect(mConfigurationView, &EncryptionSetupView::closeButtonClicked, this, [&login] { login.closeSetupPage(); });
    connect(mEncryptionKeyView, &PrivateKeyView::privatekeyAcceptanceValidation, this,
            [&login] { login.privatekeyAcceptanceValidation(); });
    connect(mEncryptionKeyView, &PrivateKeyView::closeButtonClicked, this, [&login] { login.closeSetupPage(); });
    connect(mDiconnectView, &AccountMenuView::disconnectAccount, this, [&login] { login.DisconnectAccount(); });
    connect(mDiconnectView, &AccountMenuView::showAccountSettings, this, [&login] { login.showAccountSettings(); });
    connect(mDiconnectView, &AccountMenuView::displayHelp, this, [&login] { login.DisplayHelp(); });
    connect(mDiconnectView, &AccountMenuView::openPreferences, this, [this] {
        closeDisconnectWindow();
        emit openPreferencesRequested();
    });
    connect(mDiconnectView, &AccountMenuView::sendErrorReport, this, [this] {
        closeDisconnectWindow();
        emit sendErrorReportRequested();
    });
}

QString LoginWindows::userName() const { return mLoginView->mUserNameTextField->text(); }

QString LoginWindows::password() const { return mLoginView->mSecureTextField->text(); }

void LoginWindows::setUserNameAndPassword(const QString &userName, const QString &password)
{
    mLoginView->mUserNameTextField->setText(userName);
    mLoginView->mSecureTextField->setText(password);
}

bool LoginWindows::rememberMe() const { return mLoginView->mRememberMeCheckBox->isChecked(); }

void LoginWindows::setRememberMe(bool checked) { mLoginView->mRememberMeCheckBox->setChecked(checked); }

bool LoginWindows::ssl() const { return mLoginView->SSLCheckBox->isChecked(); }

void LoginWindows::setUserFieldVisible(bool visible) { mLoginView->mUserNameTextField->setVisible(visible); }

void LoginWindows::setLoginSpinning(bool spinning) { LoginPageParts::setSpinning(mLoginView->mLoginAnimation, spinning); }

void LoginWindows::setErrorText(const QString &html)
{
    mLoginView->setErrorText(html);
    fitPages();
}

void LoginWindows::setPreferencesLinkVisible(bool visible) { mLoginView->mPreferencesButton->setVisible(visible); }

void LoginWindows::showEmailChoices(const QStringList &userNames)
{
    mLoginView->mEmailListBox->clear();
    mLoginView->mEmailListBox->addItems(userNames);
    mLoginView->mEmailListBox->setVisible(!userNames.isEmpty());
    mLoginView->mUserNameTextField->setVisible(userNames.isEmpty());
}

QString LoginWindows::chosenEmailAccount() const
{
    return mLoginView->mEmailListBox->isVisible() ? mLoginView->mEmailListBox->currentText() : QString();
}

LoginView::KeyType LoginWindows::setupKeyType() const
{
    return mConfigurationView->chosenTag() == EncryptionSetupView::kPrivateTag ? KeyType::Private : KeyType::Default;
}

QString LoginWindows::setupKey() const { return mConfigurationView->mPrivateKey->text(); }

QString LoginWindows::setupKeyConfirmation() const { return mConfigurationView->mConfirmationPrivateKey->text(); }

void LoginWindows::setSetupError(const QString &text)
{
    mConfigurationView->mEncryptionConfigurationErrorText->setText(text);
    mConfigurationView->mEncryptionConfigurationErrorText->setVisible(!text.isEmpty());
}

void LoginWindows::setSetupSpinning(bool spinning)
{
    LoginPageParts::setSpinning(mConfigurationView->mConfigurationProgressIndicator, spinning);
}

QString LoginWindows::acceptanceKey() const { return mEncryptionKeyView->mPrivateKeyAcceptanceText->text(); }

void LoginWindows::clearAcceptanceKey() { mEncryptionKeyView->mPrivateKeyAcceptanceText->clear(); }

void LoginWindows::setAcceptanceError(const QString &text)
{
    mEncryptionKeyView->mEncryptionAcceptanceErrorText->setText(text);
    mEncryptionKeyView->mEncryptionAcceptanceErrorText->setVisible(!text.isEmpty());
}

void LoginWindows::openURL(const QUrl &url) { QDesktopServices::openUrl(url); }
