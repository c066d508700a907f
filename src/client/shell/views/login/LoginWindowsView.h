#pragma once

#include "client/shell/login/LoginView.h"

class LoginWindows;

// The login logic's view (LoginView) over the login windows: the form, the
// set-up and private-key pages and the account menu.
class LoginWindowsView : public LoginView
{
public:
    explicit LoginWindowsView(LoginWindows &windows)
        : mWindows(windows)
    {}

    QString userName() const override;
    QString password() const override;
    void setUserNameAndPassword(const QString &userName, const QString &password) override;
    bool rememberMe() const override;
    void setRememberMe(bool checked) override;
    bool ssl() const override;
    void setUserFieldVisible(bool visible) override;
    void setLoginSpinning(bool spinning) override;
    void setErrorText(const QString &html) override;
    void setPreferencesLinkVisible(bool visible) override;
    void showEmailChoices(const QStringList &userNames) override;
    QString chosenEmailAccount() const override;
    KeyType setupKeyType() const override;
    QString setupKey() const override;
    QString setupKeyConfirmation() const override;
    void setSetupError(const QString &text) override;
    void setSetupSpinning(bool spinning) override;
    QString acceptanceKey() const override;
    void clearAcceptanceKey() override;
    void setAcceptanceError(const QString &text) override;
    void showPage(Page page) override;
    void displayFloatingWindow() override;
    void hideFloatingWindow() override;
    bool isFloatingWindowVisible() const override;
    void showDisconnectWindow() override;
    void closeDisconnectWindow() override;
    void openURL(const QUrl &url) override;

private:
    LoginWindows &mWindows;
};
