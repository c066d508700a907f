#pragma once

#include <QString>
#include <QVariantMap>

// What the login flow asks of the main controller.
class LoginViewControllerDelegateProtocol
{
public:
    virtual ~LoginViewControllerDelegateProtocol() = default;

    // Before every login attempt: start the monitor if it does not run, and
    // re-arm the once-per-login set-up.
    virtual void launchMonitor() = 0;
    virtual void setPvtKeyValidatedcalledOnce(bool called) = 0;
    virtual void willLoginForFirstTime() = 0;
    // A finished login: the user details (stored as the login plists) and the account details.
    virtual void loginSuccessfulWithDetails(const QVariantMap &userDetails, const QVariantMap &accountDetails) = 0;
    virtual void loginFailed() = 0;
    virtual void willNeedToConfigureAccountForUser(const QString &userName) = 0;
    virtual void configureAccountFailed(const QString &reason, const QString &userName) = 0;
    // A private key typed on the private-key page: set up the account and measure the quota,
    // which completes the login.
    virtual void quotaCall(const QVariantMap &userDetails) = 0;
    virtual void rememberMe(bool remember) = 0;
    virtual void displayGuide(bool shown) = 0;
    virtual void setLoginButtonTitle(const QString &title) = 0;
    virtual void setshouldDisplayQuotaMessageOnce(bool shouldDisplay) = 0;
    // The user logged out: back to the Backup page, views off, every running operation
    // stopped, the mode switch hidden, and the disconnect marker written.
    virtual void didDisconnect() = 0;
};
