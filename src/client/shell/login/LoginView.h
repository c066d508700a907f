#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// What the login logic asks of its windows: the login form, the encryption
// set-up page and the private-key page (one at a time inside the floating
// login window), and the account menu. The windows implement it; the logic
// never touches a widget.
class LoginView
{
public:
    // The page shown inside the floating login window.
    enum class Page
    {
        LoginForm,
        EncryptionSetup,
        PrivateKey
    };
    // The set-up page's choice; the values are the radio cells' tags.
    enum class KeyType
    {
        Default = 1,
        Private = 2
    };

    virtual ~LoginView() = default;

    // --- Login form ---
    virtual QString userName() const = 0;
    virtual QString password() const = 0;
    // Fills both fields; the remember-me box is left as the user set it.
    virtual void setUserNameAndPassword(const QString &userName, const QString &password) = 0;
    virtual bool rememberMe() const = 0;
    virtual void setRememberMe(bool checked) = 0;
    virtual bool ssl() const = 0;
    virtual void setUserFieldVisible(bool visible) = 0;
    virtual void setLoginSpinning(bool spinning) = 0;
    // The error under the form as rich text (HTML; links are <a href>); "" hides it.
    virtual void setErrorText(const QString &html) = 0;
    virtual void setPreferencesLinkVisible(bool visible) = 0;
    // The user names found for an e-mail address, first one chosen; an empty list hides the box.
    virtual void showEmailChoices(const QStringList &userNames) = 0;
    // The chosen name while the box is shown, else "".
    virtual QString chosenEmailAccount() const = 0;

    // --- Encryption set-up page ---
    virtual KeyType setupKeyType() const = 0;
    virtual QString setupKey() const = 0;
    virtual QString setupKeyConfirmation() const = 0;
    virtual void setSetupError(const QString &text) = 0;
    virtual void setSetupSpinning(bool spinning) = 0;

    // --- Private-key page ---
    virtual QString acceptanceKey() const = 0;
    virtual void clearAcceptanceKey() = 0;
    virtual void setAcceptanceError(const QString &text) = 0;

    // --- Windows ---
    virtual void showPage(Page page) = 0;
    // Shows (or re-places) the floating login window, sized for the error text when there is one.
    virtual void displayFloatingWindow() = 0;
    virtual void hideFloatingWindow() = 0;
    virtual bool isFloatingWindowVisible() const = 0;
    virtual void showDisconnectWindow() = 0;
    virtual void closeDisconnectWindow() = 0;
    // The default browser.
    virtual void openURL(const QUrl &url) = 0;
};
