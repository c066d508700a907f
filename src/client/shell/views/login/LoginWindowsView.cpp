#include "client/shell/views/login/LoginWindowsView.h"

#include "client/shell/views/login/EncryptionSetupView.h"
#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/LoginWindows.h"
#include "client/shell/views/login/NSButtonHover.h"
#include "client/shell/views/login/PrivateKeyView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace {

LoginWindows::Page windowsPage(LoginView::Page page)
{
    switch (page) {
    case LoginView::Page::EncryptionSetup:
        return LoginWindows::Page::EncryptionSetup;
    case LoginView::Page::PrivateKey:
        return LoginWindows::Page::PrivateKey;
    case LoginView::Page::LoginForm:
        break;
    }
    return LoginWindows::Page::LoginForm;
}

void setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setVisible(!text.isEmpty());
}

}  // namespace

QString LoginWindowsView::userName() const { return mWindows.loginForm()->mUserNameTextField->text(); }

QString LoginWindowsView::password() const { return mWindows.loginForm()->mSecureTextField->text(); }

void LoginWindowsView::setUserNameAndPassword(const QString &userName, const QString &password)
{
    mWindows.loginForm()->mUserNameTextField->setText(userName);
    mWindows.loginForm()->mSecureTextField->setText(password);
}

bool LoginWindowsView::rememberMe() const { return mWindows.loginForm()->mRememberMeCheckBox->isChecked(); }

void LoginWindowsView::setRememberMe(bool checked) { mWindows.loginForm()->mRememberMeCheckBox->setChecked(checked); }

bool LoginWindowsView::ssl() const { return mWindows.loginForm()->SSLCheckBox->isChecked(); }

void LoginWindowsView::setUserFieldVisible(bool visible)
{
    mWindows.loginForm()->mUserNameTextField->setVisible(visible);
}

void LoginWindowsView::setLoginSpinning(bool spinning) { mWindows.loginForm()->mLoginAnimation->setVisible(spinning); }

void LoginWindowsView::setErrorText(const QString &html) { mWindows.loginForm()->setErrorText(html); }

void LoginWindowsView::setPreferencesLinkVisible(bool visible)
{
    mWindows.loginForm()->mPreferencesButton->setVisible(visible);
}

void LoginWindowsView::showEmailChoices(const QStringList &userNames)
{
    QComboBox *box = mWindows.loginForm()->mEmailListBox;
    box->clear();
    box->addItems(userNames);
    box->setVisible(!userNames.isEmpty());
}

QString LoginWindowsView::chosenEmailAccount() const
{
    const QComboBox *box = mWindows.loginForm()->mEmailListBox;
    return box->isVisible() ? box->currentText() : QString();
}

LoginView::KeyType LoginWindowsView::setupKeyType() const
{
    return mWindows.setupPage()->chosenTag() == EncryptionSetupView::kPrivateTag ? KeyType::Private : KeyType::Default;
}

QString LoginWindowsView::setupKey() const { return mWindows.setupPage()->mPrivateKey->text(); }

QString LoginWindowsView::setupKeyConfirmation() const { return mWindows.setupPage()->mConfirmationPrivateKey->text(); }

void LoginWindowsView::setSetupError(const QString &text)
{
    setLabelText(mWindows.setupPage()->mEncryptionConfigurationErrorText, text);
}

void LoginWindowsView::setSetupSpinning(bool spinning)
{
    mWindows.setupPage()->mConfigurationProgressIndicator->setVisible(spinning);
}

QString LoginWindowsView::acceptanceKey() const { return mWindows.privateKeyPage()->mPrivateKeyAcceptanceText->text(); }

void LoginWindowsView::clearAcceptanceKey() { mWindows.privateKeyPage()->mPrivateKeyAcceptanceText->clear(); }

void LoginWindowsView::setAcceptanceError(const QString &text)
{
    setLabelText(mWindows.privateKeyPage()->mEncryptionAcceptanceErrorText, text);
}

void LoginWindowsView::showPage(Page page) { mWindows.showPage(windowsPage(page)); }

void LoginWindowsView::displayFloatingWindow() { mWindows.displayFloatingWindow(); }

void LoginWindowsView::hideFloatingWindow() { mWindows.hideFloatingWindow(); }

bool LoginWindowsView::isFloatingWindowVisible() const { return mWindows.isFloatingWindowVisible(); }

void LoginWindowsView::showDisconnectWindow() { mWindows.showDisconnectWindow(); }

void LoginWindowsView::closeDisconnectWindow() { mWindows.closeDisconnectWindow(); }

void LoginWindowsView::openURL(const QUrl &url) { QDesktopServices::openUrl(url); }
